#pragma once
// Checks of what the main window's pages send: the user's input on a page, the function tree's
// items, a press that sends exactly one frame with its row, and a press that is refused.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/ui.h"
#include "res/resource_ids.h"
#include "support/main_window_fixture.h"

namespace testsupport {

// Control ids and their texts.
using ControlTexts = std::vector<std::pair<int, std::string>>;

// What the user does on a page before pressing a button. A combo text "" clears the
// selection; check box IDC_PASSWORD_HEX "十六进制" is ticked with 1, cleared with 0, left with -1.
struct PageInput {
    ControlTexts combos;
    ControlTexts edits;
    int hex = -1;
};

// Selects the entry of each combo box by its text.
inline void ChooseEntries(Dialog& page, const ControlTexts& combos) {
    for (const auto& c : combos) {
        ComboBox combo(page.GetDlgItem(c.first));
        const int index = c.second.empty() ? -1 : combo.FindStringExact(c.second);
        ASSERT_TRUE(c.second.empty() || index >= 0) << c.second;
        combo.SetCurSel(index);
    }
}

// Empties each edit and types its text.
inline void TypeTexts(Dialog& page, const ControlTexts& edits) {
    for (const auto& e : edits) {
        Edit edit(page.GetDlgItem(e.first));
        edit.SetText("");
        if (!e.second.empty()) edit.TypeText(e.second);
    }
}

inline void Enter(Dialog& page, const PageInput& input) {
    ChooseEntries(page, input.combos);
    TypeTexts(page, input.edits);
    if (input.hex >= 0) Button(page.GetDlgItem(IDC_PASSWORD_HEX)).SetCheck(input.hex);
}

// The page "发送数据" with the header of a host's request, and the frame it sends.
inline const PageInput& HostSendDataPage() {
    static const PageInput page = {{{IDC_DIRECTION_COMBO, "主机发出帧"},
                                    {IDC_INITIATOR_COMBO, "主动发起"},
                                    {IDC_REPLY_STATUS_COMBO, "正常应答"},
                                    {IDC_CHANNEL_TYPE_COMBO, "5281PLC"},
                                    {IDC_SRC_MODE_COMBO, "网关"},
                                    {IDC_DST_MODE_COMBO, "TRM5281/82MAC地址"},
                                    {IDC_KEY_MODE_COMBO, "01: 用户网络口令"}},
                                   {{IDC_DEPTH, "7"}, {IDC_SEND_DST_ADDR, "123456789ABC"}, {IDC_USER_DATA, "1 23"}}};
    return page;
}
constexpr char kHostSendDataFrame[] = "79 0C 00 40 14 31 78 BC 9A 78 56 34 12 02 00 01 23 99 1F";

// The stop-search frame, which its button sends whatever the page's fields.
constexpr char kStopSearchFrame[] = "79 00 00 40 18 58 58";

// The function tree's item of a page code, a root or a child; 0 when the tree has none. The
// child's root goes to root.
inline TreeItem FindTreeItem(TreeView tree, int code, TreeItem* root = nullptr) {
    for (TreeItem r = tree.GetRootItem(); r; r = tree.GetNextSibling(r)) {
        if (root) *root = 0;
        if (tree.GetItemData(r) == code) return r;
        if (root) *root = r;
        for (TreeItem item = tree.GetChildItem(r); item; item = tree.GetNextSibling(item))
            if (tree.GetItemData(item) == code) return item;
    }
    return 0;
}

// Clicks the main window's tree item of the page code, its branch expanded; false when the
// tree has none.
inline bool ClickTreeItem(Dialog& window, int code) {
    TreeView tree(window.GetDlgItem(IDC_FUNCTION_TREE));
    TreeItem root = 0;
    const TreeItem item = FindTreeItem(tree, code, &root);
    if (!item) return false;
    if (root) tree.Expand(root);
    tree.ClickAt(tree.ItemCenter(item));
    return true;
}

// The main window with the simulated module, and the checks of a press on its pages.
class MainWindowSenders : public MainWindowWithModule {
protected:
    using MainWindowWithModule::MainWindowWithModule;

    void Enter(const PageInput& input) { testsupport::Enter(*dlg, input); }

    // Opens the port, takes the test panel's version request that follows, and sets the header:
    // sent by the host, initiated, normal answer, channel 5281PLC (control 0x40).
    void OpenWithHostHeader() {
        OpenPort();
        ASSERT_EQ(NextFrame(), "79 00 00 40 02 42 42 ");
        Enter({{{IDC_DIRECTION_COMBO, "主机发出帧"},
                {IDC_INITIATOR_COMBO, "主动发起"},
                {IDC_REPLY_STATUS_COMBO, "正常应答"},
                {IDC_CHANNEL_TYPE_COMBO, "5281PLC"}},
               {}});
        ASSERT_TRUE(boxes.empty());
    }

    // Sends through press, then expects exactly that frame at the module and one row in the log.
    template <class Press>
    void ExpectSent(Press press, const std::string& frame, int log) {
        const int rows = ListOf(log).GetItemCount();
        const size_t sent = HistoryCount('0');
        press();
        EXPECT_EQ(NextFrame(), frame + " ");
        // The row goes in with the log's next batch.
        ASSERT_TRUE(WaitFor([&] { return ListOf(log).GetItemCount() == rows + 1; })) << ListOf(log).GetItemCount();
        EXPECT_EQ(ListOf(log).GetItemText(rows, 2), frame + " ");
        EXPECT_EQ(HistoryCount('0'), sent + 1);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>());
    }

    // Expects press to show this message (none for "") and to send nothing: no frame, no row,
    // no history record. The stop-search frame sent afterwards shows that nothing went before it.
    template <class Press>
    void ExpectRefused(Press press, const std::string& message) {
        const int logs[] = {IDC_FRAME_LOG, IDC_SEARCH_LOG, IDC_DATA_LOG, IDC_PASSWORD_LOG};
        PumpFor(100);  // the rows of what went before are in
        std::vector<int> rows;
        for (int id : logs) rows.push_back(ListOf(id).GetItemCount());
        const size_t sent = HistoryCount('0');
        press();
        PumpFor(100);  // a row would have gone in with the log's next batch
        EXPECT_EQ(BoxTexts(), message.empty() ? std::vector<std::string>() : std::vector<std::string>{message});
        EXPECT_TRUE(boxes.empty() || boxes[0].type == static_cast<uint32_t>(kMbOk));
        boxes.clear();
        for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(ListOf(logs[i]).GetItemCount(), rows[i]) << logs[i];
        EXPECT_EQ(HistoryCount('0'), sent);
        Click(IDC_STOP_SEARCH);
        EXPECT_EQ(NextFrame(), std::string(kStopSearchFrame) + " ");
    }
};

}  // namespace testsupport
