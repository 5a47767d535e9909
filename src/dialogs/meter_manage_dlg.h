#pragma once
// Meter management: the list of device addresses the batch tests run over. Every change is made
// at the same meter's row of the main window's address list as well, so the two stay in step
// whatever order this list is sorted in.

#include <string>

#include "dialogs/color_list_ctrl.h"
#include "platform/ui.h"
#include "res/resource_ids.h"

class CMeterManageDlg : public Dialog {
public:
    // Most addresses the lists hold.
    static constexpr int kMaxAddresses = 10000;

    // mainList: the main window's address list (address in column 1, group address in column 5).
    explicit CMeterManageDlg(ListView mainList);
    ~CMeterManageDlg() override;

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    // Shift fills the checks between the first two checked rows.
    bool PreTranslateKey(Key key) override;
    void OnDestroy() override;

private:
    void LoadRowsFromMainList();
    void LimitEditLengths();

    void OnAddAddress();
    void OnAddAddressRange();
    void OnImportAddresses();
    void OnDeleteAddresses();
    void OnSelectAll();
    void OnInvertSelection();
    void OnClickAddressList();
    void OnToggleCheck();
    void OnSortAddressList();
    void FillCheckRange();

    // A row at the end of both lists: number, address and group address; not checked. Not
    // numbered: the number is left empty too.
    void AppendAddressRow(const std::string& address, const std::string& group, bool numbered = true);
    // The main list's row of a row here, kept in its item data.
    int MainRow(int row) const { return static_cast<int>(m_meterList.GetItemData(row)); }
    void SetRowCheck(int row, bool check);
    void DeleteAllRows();
    void Warn(const std::string& text);

    CColorListCtrl m_meterList;  // IDC_METER_LIST
    ListView m_mainList;
};
