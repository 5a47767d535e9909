#include "commands/image_compare_buttons.h"

#include "commands/image_compare.h"
#include "res/resource_ids.h"

namespace {

std::string AskImagePath() {
    FileDialogRequest request;
    request.open = true;
    request.filter = ".BIN Files(*.bin)|*.bin||";
    return ShowFileDialog(request);
}

}  // namespace

void ImageCompareButtons::MapButtons() {
    m_window.MapCommand(IDC_CHOOSE_MASTER_IMAGE, Notify::Clicked, [this] { m_masterPath = AskImagePath(); });
    m_window.MapCommand(IDC_CHOOSE_COMPARE_IMAGE, Notify::Clicked, [this] { m_comparePath = AskImagePath(); });
    m_window.MapCommand(IDC_COMPARE_IMAGES, Notify::Clicked, [this] { Compare(); });
}

void ImageCompareButtons::Compare() {
    RichEdit result(m_window.GetDlgItem(IDC_COMPARE_RESULT));
    result.SetSel(0, -1);
    result.ReplaceSel(ComparisonText(CompareImageFiles(m_masterPath, m_comparePath)) + "\r\n");
}
