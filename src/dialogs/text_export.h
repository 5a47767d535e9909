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

class ListView;

// Exports the first columns of list: a save dialog proposing namePrefix + the local time stamp +
// ".txt" (no default extension), then header (with its line end) and a line per row. An empty
// list writes no file and removes one of the chosen name; a failure shows "导出失败！".
void ExportListRows(const std::string& namePrefix, const std::string& header, const ListView& list, int columns);

// The import of a list file, asked through an open dialog without a default extension.
struct ListImport {
    std::function<void(const std::string& header)> header;  // the first line; may be empty
    std::function<bool(const std::string& line, std::vector<std::string>& cells)> parse;
    std::function<bool()> full;                                // no room for another row
    std::function<void(const std::vector<std::string>& cells)> add;
    size_t columns = 0;  // the cells of the empty row a blank line gives
};

// Reads the header, then each further line: one of blanks or none adds an empty row; parsed, it
// is added; not parsed, it is skipped and counted. Once the list is full nothing more is read:
// the lines left are only counted. A file that cannot be opened shows "打开文件失败";
// otherwise one message tells what was skipped and what did not fit. Returns the lines not
// imported for want of room.
uint32_t ImportListRows(const ListImport& import);

// Fills the "%Ns" and "%-Ns" of format with the texts in order, widths counted in GBK bytes.
std::string FormatColumnTitles(const char* format, const char* const* titles, int count);

// A cell of a written line: padded on the right to at least 12 characters, then four blanks.
std::string ExportCell(std::string text);

// The header, then the first columns cells of every row of list, each row ending in "\n".
std::string RowsText(const std::string& header, const ListView& list, int columns);

// Reads a line written with ExportCell (the first cell may hold one blank, as a time stamp
// does). False for a blank line or one whose columns do not line up; a line that ends before its
// last column is false too, unless shortLineFits (the cells it does not reach stay empty).
bool ParseExportCells(const std::string& line, int columns, std::vector<std::string>& cells,
                      bool shortLineFits = false);

// Reads a line of fixed fields: the first firstWidth characters wide, the others width, the last
// to the end; blanks are removed. A field followed by another must end in a blank. False for a
// blank line or one that does not fit.
bool ParseFixedCells(const std::string& line, int columns, size_t firstWidth, size_t width,
                     std::vector<std::string>& cells);
