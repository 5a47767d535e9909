#pragma once
// The three reception pages of the main window's tab control.

#include "dialogs/color_list_ctrl.h"
#include "platform/ui.h"

class CReceptionPage : public Dialog {
public:
    ListView m_list;  // IDC_RECEPTION_LIST

protected:
    CReceptionPage(int templateId, std::vector<std::pair<const char*, int>> columns, std::vector<bool> leftAligned);
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    std::vector<std::pair<const char*, int>> m_columns;
    std::vector<bool> m_left;
};

class CMacLayerFramePage : public CReceptionPage {
public:
    CMacLayerFramePage();
    void OnItemChanged();
    // List IDC_RECEPTION_LIST (the same control as m_list) as a colour list: black on white, sorted on a header click.
    CColorListCtrl m_colorList;

protected:
    bool OnInitDialog() override;
};

class CNetworkLayerFramePage : public CReceptionPage {
public:
    CNetworkLayerFramePage();
};

class CAppLayerFramePage : public CReceptionPage {
public:
    CAppLayerFramePage();
};
