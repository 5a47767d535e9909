#pragma once
// The warning box: a small popup with a picture, one line of text and "确定", in which the tool
// dialogs show what is wrong with the input. One instance serves the whole process.

#include <string>

#include "platform/ui.h"
#include "res/resource_ids.h"

class CWarningDlg : public Dialog {
public:
    CWarningDlg();

    // Shows the popup centred over parent with the text: the one that exists over parent is
    // reused; one over another dialog is destroyed and made anew over parent.
    void Raise(Dialog& parent, const std::string& text);
    // Destroys a popup raised over owner; owner calls it before its own window goes, which
    // would take the popup with it behind this object's back.
    void Dismiss(const Dialog& owner);
    void SetText(const std::string& text);

protected:
    bool OnInitDialog() override;
    // Enter does nothing; Esc hides the popup; "确定" and the close box destroy it.
    void OnOK() override {}
    void OnCancel() override { ShowWindow(false); }
    void OnClose() override { DestroyWindow(); }

private:
    void CentreOverParent();

    Dialog* m_parent = nullptr;  // while it is raised
    const Dialog* m_owner = nullptr;
};

// The process's warning box.
CWarningDlg& WarningBox();
