#include "dialogs/text_export.h"

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
