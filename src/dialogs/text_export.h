#pragma once
// Text export and import of the tool's lists: the path is asked through the file dialog, an
// export replaces its file only once all of it is written, failures show the caller's text.

#include <functional>
#include <string>
#include <vector>

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

// ---- Column files: a header line, then one line per row of cells ----

// Fills the "%Ns" and "%-Ns" of format with the texts in order, widths counted in GBK bytes.
std::string FormatColumnTitles(const char* format, const char* const* titles, int count);

// A cell of a written line: padded on the right to at least 12 characters, then four blanks.
std::string ExportCell(std::string text);

class ListView;

// The header, then the first columns cells of every row of list, each row ending in "\n".
std::string RowsText(const std::string& header, const ListView& list, int columns);

// Reads a line written with ExportCell (the first cell may hold one blank, as a time stamp
// does). False for a blank line or one whose columns do not line up.
bool ParseExportCells(const std::string& line, int columns, std::vector<std::string>& cells);

// Reads a line of fixed fields: the first firstWidth characters wide, the others width, the last
// to the end; blanks are removed. A field followed by another must end in a blank. False for a
// blank line or one that does not fit.
bool ParseFixedCells(const std::string& line, int columns, size_t firstWidth, size_t width,
                     std::vector<std::string>& cells);
