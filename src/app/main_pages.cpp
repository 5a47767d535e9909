// The function tree and page switching.

#include "app/main_tester_dlg.h"
#include "app/page_tables.h"
#include "commands/TestDlg/test_dlg.h"

namespace {

// Every code with a group of the test panel shows the panel, the dormant ones included.
bool IsPanelPage(int code) { return CTestDlg::HasGroup(code); }

bool IsTablePage(int code) {
    switch (code) {
        case PAGE_ROUND_READING:
        case PAGE_PASS_THROUGH:
        case PAGE_CUSTOM_FRAME:
        case PAGE_SET_NETWORK_PARAMS:
        case PAGE_SEND_DATA:
        case PAGE_START_SEARCH:
        case PAGE_ANSWER_SEARCH:
        case PAGE_REMOTE_PASSWORD_SET:
        case PAGE_SET_USER_PASSWORD:
            return true;
        default:
            return false;
    }
}

}  // namespace

TreeItem CMainTesterDlg::InsertBranch(int rootCode) {
    int n = 0;
    const TreeItemDef* items = FunctionTreeItems(&n);
    TreeItem root = kTreeRoot;
    for (int i = 0; i < n; ++i) {
        if (items[i].code == rootCode) {
            root = InsertTreeItem(items[i].text, kTreeRoot);
            SetTreeItemData(root, rootCode);
        } else if (items[i].parentCode == rootCode && root != kTreeRoot) {
            SetTreeItemData(InsertTreeItem(items[i].text, root), items[i].code);
        }
    }
    return root;
}

TreeItem CMainTesterDlg::InsertTreeItem(const std::string& text, TreeItem parent) {
    return m_functionTree.InsertItem(text, parent);
}

void CMainTesterDlg::SetTreeItemData(TreeItem item, intptr_t code) { m_functionTree.SetItemData(item, code); }

void CMainTesterDlg::ExpandTreeItem(TreeItem item) { m_functionTree.Expand(item); }

void CMainTesterDlg::BuildFunctionTree() { ExpandTreeItem(InsertBranch(PAGE_LOCAL_ROOT)); }

void CMainTesterDlg::AddRemoteDebugBranch() { InsertBranch(PAGE_REMOTE_ROOT); }

void CMainTesterDlg::ShowControls(const int* ids, int count) {
    for (int i = 0; i < count; ++i) GetDlgItem(ids[i]).Show(true);
}

void CMainTesterDlg::HideControls(const int* ids, int count) {
    for (int i = 0; i < count; ++i) GetDlgItem(ids[i]).Show(false);
}

void CMainTesterDlg::HideAllPages() {
    int n = 0;
    const PageTable* tables = AllPageTables(&n);
    for (int i = 0; i < n; ++i) HideControls(tables[i].ids, tables[i].count);
    m_testPanel->ShowWindow(false);
    m_smartHomePage.ShowWindow(false);
}

void CMainTesterDlg::OnTreeClick() {
    m_initialRect = GetWindowRect();
    const TreeItem item = m_functionTree.HitTest(m_functionTree.ScreenToClient(GetMessagePos()));
    if (!item) return;
    const int code = static_cast<int>(m_functionTree.GetItemData(item));
    if (code <= 0) return;
    if (!IsTablePage(code) && !IsPanelPage(code)) return;

    HideAllPages();
    m_currentPage = code;
    if (IsPanelPage(code)) {
        m_testPanel->ShowWindow(true);
        m_testPanel->ShowGroup(code);
        return;
    }
    if (code == PAGE_REMOTE_PASSWORD_SET || code == PAGE_SET_USER_PASSWORD) {
        const int W = m_initialRect.Width();
        const int H = m_initialRect.Height();
        const double height = code == PAGE_REMOTE_PASSWORD_SET ? 0.285 : 0.617;
        m_passwordLogList.Move(static_cast<int>(0.195 * W), static_cast<int>(0.24 * H), static_cast<int>(0.5 * W),
                               static_cast<int>(height * H));
    }
    if (const PageTable* page = FindPageTable(code)) ShowControls(page->ids, page->count);
}
