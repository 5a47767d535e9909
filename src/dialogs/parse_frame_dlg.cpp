#include "dialogs/parse_frame_dlg.h"

#include <algorithm>
#include <string>

#include "analyzer/analyzer.h"
#include "link/conversions.h"

namespace {

constexpr int kResultPane = 1007;
constexpr int kPhysicalLayer = 1036;
constexpr int kNetworkLayer = 1020;
constexpr int kApplicationLayer = 1026;
constexpr int kModuleLayer = 1019;

}  // namespace

CParseFrameDlg::CParseFrameDlg(MainWindowPort& window) : Dialog(187), m_window(window) {
    MapCommand(1018, Notify::Clicked, [this] { OnParseBox1(); });
    MapCommand(1021, Notify::Clicked, [this] { OnParseBox2(); });
    MapCommand(1029, Notify::Clicked, [this] { OnParseBox3(); });
}

bool CParseFrameDlg::OnInitDialog() {
    Button(GetDlgItem(kPhysicalLayer)).SetCheck(1);
    return true;
}

void CParseFrameDlg::OnParseBox1() { ParseHexBox(1010); }
void CParseFrameDlg::OnParseBox2() { ParseHexBox(1011); }
void CParseFrameDlg::OnParseBox3() { ParseHexBox(1012); }

void CParseFrameDlg::ParseHexBox(int boxId) {
    std::string hex = GetDlgItemText(boxId);
    // Blanks and line breaks separate digits; they are not digits themselves.
    hex.erase(std::remove_if(hex.begin(), hex.end(), [](char c) { return c == ' ' || c == '\r' || c == '\n'; }),
              hex.end());
    ByteString frame;
    HexTextToBytes(hex, frame, 0);
    std::string text;
    int layer = 0;
    for (int id : {kPhysicalLayer, kNetworkLayer, kApplicationLayer, kModuleLayer}) {
        if (Button(GetDlgItem(id)).GetCheck()) {
            layer = id;
            break;
        }
    }
    if (layer == kModuleLayer) AnalyzeFrame(frame, text);
    SetDlgItemText(kResultPane, text);
}

void CParseFrameDlg::CloseWindow() {
    m_window.EnableControl(1034);
    DestroyWindow();
}

void CParseFrameDlg::OnCancel() { CloseWindow(); }

void CParseFrameDlg::OnClose() { CloseWindow(); }

bool CParseFrameDlg::PreTranslateKey(Key key) {
    if (key != Key::Escape) return false;
    OnCancel();
    return true;
}
