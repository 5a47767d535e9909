#include "dialogs/parse_frame_dlg.h"

#include <algorithm>
#include <string>

#include "analyzer/analyzer.h"
#include "link/conversions.h"
#include "res/resource_ids.h"

CParseFrameDlg::CParseFrameDlg(MainWindowPort& window) : Dialog(IDD_PARSE_FRAME), m_window(window) {
    MapCommand(IDC_PARSER_BUTTON1, Notify::Clicked, [this] { OnParseBox1(); });
    MapCommand(IDC_PARSER_BUTTON2, Notify::Clicked, [this] { OnParseBox2(); });
    MapCommand(IDC_PARSER_BUTTON3, Notify::Clicked, [this] { OnParseBox3(); });
}

bool CParseFrameDlg::OnInitDialog() {
    Button(GetDlgItem(IDC_PARSER_PHYSICAL_LAYER)).SetCheck(1);
    return true;
}

void CParseFrameDlg::OnParseBox1() { ParseHexBox(IDC_PARSER_INPUT1); }
void CParseFrameDlg::OnParseBox2() { ParseHexBox(IDC_PARSER_INPUT2); }
void CParseFrameDlg::OnParseBox3() { ParseHexBox(IDC_PARSER_INPUT3); }

void CParseFrameDlg::ParseHexBox(int boxId) {
    std::string hex = GetDlgItemText(boxId);
    // Blanks and line breaks separate digits; they are not digits themselves.
    hex.erase(std::remove_if(hex.begin(), hex.end(), [](char c) { return c == ' ' || c == '\r' || c == '\n'; }),
              hex.end());
    ByteString frame;
    HexTextToBytes(hex, frame, 0);
    std::string text;
    int layer = 0;
    for (int id :
         {IDC_PARSER_PHYSICAL_LAYER, IDC_PARSER_NETWORK_LAYER, IDC_PARSER_APP_LAYER, IDC_PARSER_MODULE_PROTOCOL}) {
        if (Button(GetDlgItem(id)).GetCheck()) {
            layer = id;
            break;
        }
    }
    if (layer == IDC_PARSER_MODULE_PROTOCOL) AnalyzeFrame(frame, text, m_window);
    SetDlgItemText(IDC_PARSER_RESULT_PANE, text);
}

void CParseFrameDlg::CloseWindow() {
    m_window.EnableControl(IDC_PARSE_FRAME);
    DestroyWindow();
}

void CParseFrameDlg::OnCancel() { CloseWindow(); }

void CParseFrameDlg::OnClose() { CloseWindow(); }

bool CParseFrameDlg::PreTranslateKey(Key key) {
    if (key != Key::Escape) return false;
    OnCancel();
    return true;
}
