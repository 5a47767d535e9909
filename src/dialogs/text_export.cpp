#include "dialogs/text_export.h"

#include <algorithm>

#include "link/conversions.h"
#include "platform/gbk.h"
#include "platform/text_format.h"
#include "platform/ui.h"

const char kTextFileFilter[] = "TXT Files(*.txt)|*.txt||";

std::string FileNameStamp(const SystemTime& t) {
    return StrFormat(" %04d-%02d-%02d %02d-%02d-%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

std::string AskTextFilePath(const TextFileDialog& dialog) {
    FileDialogRequest request;
    request.open = dialog.open;
    request.defaultExt = dialog.defaultExt;
    request.fileName = dialog.fileName;
    request.filter = kTextFileFilter;
    return ShowFileDialog(request);
}

bool WriteTextFile(TextFile& file, const std::string& path, const std::string& text) {
    if (!file.Open(path, TextFile::kReplace)) return false;
    const bool written = file.WriteString(text);
    const bool closed = file.Close();
    return written && closed;
}

void ExportTextFile(const TextFileDialog& dialog, const std::string& failureText,
                    const std::function<bool(std::string& text)>& build) {
    const std::string path = AskTextFilePath(dialog);
    if (path.empty()) return;
    std::string text;
    if (!build(text)) {
        if (FileExists(path)) RemoveFile(path);
        return;
    }
    TextFile file;
    if (!WriteTextFile(file, path, text)) ShowMessageBox(failureText);
}

std::string OpenTextImport(TextFile& file, const TextFileDialog& dialog, const std::string& failureText) {
    const std::string path = AskTextFilePath(dialog);
    if (path.empty()) return path;
    if (file.Open(path, TextFile::kRead)) return path;
    ShowMessageBox(failureText);
    return std::string();
}

void ExportListRows(const std::string& namePrefix, const std::string& header, const ListView& list, int columns) {
    TextFileDialog dialog;
    dialog.defaultExt.clear();
    dialog.fileName = namePrefix + FileNameStamp(GetLocalTime()) + ".txt";
    ExportTextFile(dialog, "导出失败！", [&](std::string& text) {
        if (list.GetItemCount() == 0) return false;
        text = RowsText(header, list, columns);
        return true;
    });
}

namespace {

bool OnlyBlanks(const std::string& line) { return line.find_first_not_of(' ') == std::string::npos; }

}  // namespace

uint32_t ImportListRows(const ListImport& import) {
    TextFileDialog dialog;
    dialog.open = true;
    dialog.defaultExt.clear();
    TextFile file;
    const std::string path = OpenTextImport(file, dialog, "打开文件失败");
    if (path.empty()) return 0;
    std::string line;
    if (!file.ReadLine(line)) return 0;
    if (import.header) import.header(line);
    uint32_t skipped = 0;
    std::vector<std::string> cells;
    while (!import.full() && file.ReadLine(line)) {
        if (file.LineTooLong()) {
            ++skipped;
            continue;
        }
        if (OnlyBlanks(line)) {
            import.add(std::vector<std::string>(import.columns));
            continue;
        }
        if (!import.parse(line, cells)) {
            ++skipped;
            continue;
        }
        import.add(cells);
    }
    // The lines left once the list is full, counted without being read as rows.
    const uint32_t notImported = import.full() ? static_cast<uint32_t>(file.SkipRemainingLines()) : 0;
    file.Close();
    std::string message;
    if (skipped) message = StrFormat("有%u行格式不符，已跳过", skipped);
    if (notImported) {
        if (!message.empty()) message += "\n";
        AppendFormat(message, "列表已满，有%u行未导入", notImported);
    }
    if (!message.empty()) ShowMessageBox(message);
    return notImported;
}

std::string FormatColumnTitles(const char* format, const char* const* titles, int count) {
    std::string out;
    int next = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        const bool left = p[1] == '-';
        const char* digits = p + (left ? 2 : 1);
        size_t width = 0;
        while (*digits >= '0' && *digits <= '9') width = width * 10 + static_cast<size_t>(*digits++ - '0');
        p = digits;  // the 's'
        const std::string text = next < count ? titles[next] : "";
        ++next;
        const size_t length = GbkLength(text);
        const size_t pad = length < width ? width - length : 0;
        if (!left) out.append(pad, ' ');
        out += text;
        if (left) out.append(pad, ' ');
    }
    return out;
}

std::string ExportCell(std::string text) {
    PadRightBlanks(text, 12);
    return text + "    ";
}

std::string RowsText(const std::string& header, const ListView& list, int columns) {
    std::string text = header;
    const int rows = list.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) text += ExportCell(list.GetItemText(r, c));
        text += "\n";
        // Rows are alike in length: room for the rest at once.
        if (r == 0) text.reserve(text.size() + (text.size() - header.size()) * static_cast<size_t>(rows - 1));
    }
    return text;
}

namespace {

std::string WithoutBlanks(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

bool BlankLine(const std::string& line) { return line.find_first_not_of(" \r\n") == std::string::npos; }

}  // namespace

bool ParseExportCells(const std::string& utf8Line, int columns, std::vector<std::string>& cells, bool shortLineFits) {
    cells.assign(static_cast<size_t>(columns), std::string());
    const std::string line = Utf8ToGbk(utf8Line);  // widths count GBK bytes
    if (BlankLine(line)) return false;
    const size_t length = line.size();
    size_t q = 0;
    for (int c = 0; c < columns; ++c) {
        if (q >= length) return shortLineFits;  // every cell is written, padded
        if (c == columns - 1) {
            cells[static_cast<size_t>(c)] = GbkToUtf8(WithoutBlanks(line.substr(q)));
            break;
        }
        size_t end = c == 0 ? line.find("  ", q) : line.find(' ', q);
        if (end == std::string::npos) end = length;
        const size_t textLength = end - q;
        const size_t next = q + std::max<size_t>(textLength, 12) + 4;
        for (size_t i = end; i < std::min(next, length); ++i)
            if (line[i] != ' ') return false;
        cells[static_cast<size_t>(c)] = GbkToUtf8(line.substr(q, textLength));
        q = next;
    }
    return true;
}

bool ParseFixedCells(const std::string& utf8Line, int columns, size_t firstWidth, size_t width,
                     std::vector<std::string>& cells) {
    cells.assign(static_cast<size_t>(columns), std::string());
    const std::string line = Utf8ToGbk(utf8Line);
    if (BlankLine(line)) return false;
    const size_t length = line.size();
    size_t q = 0;
    for (int c = 0; c < columns && q < length; ++c) {
        const size_t w = c == columns - 1 ? std::string::npos : c == 0 ? firstWidth : width;
        if (w != std::string::npos && q + w < length && line[q + w - 1] != ' ') return false;
        cells[static_cast<size_t>(c)] = GbkToUtf8(WithoutBlanks(line.substr(q, w)));
        q = w == std::string::npos ? length : q + w;
    }
    return true;
}
