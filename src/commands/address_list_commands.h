#pragma once
// The address list's own commands: "添加地址", "清空测试结果", "删除地址", "反选", "选择失败项", the
// list's click and "结果导出". They act on the list control alone.

#include "commands/address_jobs.h"

class AddressListCommands {
public:
    explicit AddressListCommands(JobWindow& window) : m_window(window) {}

    // Maps the list's buttons and its click on the window.
    void MapButtons();

private:
    void AddAddresses();
    void ClearResults();
    void DeleteChecked();
    void InvertChecks();
    void CheckFailedRows();
    // A click toggles the check of each selected row.
    void ToggleSelected();
    void ExportResults();

    JobWindow& m_window;
};
