#pragma once
// Text export and import of the tool's lists: the path is asked through the file dialog, an
// export replaces its file only once all of it is written, failures show the caller's text.

#include <functional>
#include <string>

#include "platform/local_time.h"
#include "platform/text_file.h"

// The filter of every text file dialog.
extern const char kTextFileFilter[];

// " %04d-%02d-%02d %02d-%02d-%02d": the local time in the names of written files.
std::string FileNameStamp(const SystemTime& t);

// What the file dialog shows besides the filter.
struct TextFileDialog {
    bool open = false;               // an open dialog; a save dialog otherwise
    std::string defaultExt = "txt";  // empty: none
    std::string fileName;            // the name proposed
};

// The chosen path, or "" when cancelled.
std::string AskTextFilePath(const TextFileDialog& dialog);

// Writes the text through file into a temporary file that replaces path once all of it is
// written; false when a write, the flush, the close or the rename failed (path is kept).
bool WriteTextFile(TextFile& file, const std::string& path, const std::string& text);

// Asks the path and writes what build gives; a file not written shows failureText. build false
// (nothing to export) removes a file at the chosen path and writes none.
void ExportTextFile(const TextFileDialog& dialog, const std::string& failureText,
                    const std::function<bool(std::string& text)>& build);

// Asks the path and opens it for reading; a file that cannot be opened shows failureText. The
// path opened, or "" when cancelled or not opened.
std::string OpenTextImport(TextFile& file, const TextFileDialog& dialog, const std::string& failureText);
