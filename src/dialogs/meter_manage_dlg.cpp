#include "dialogs/meter_manage_dlg.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include "dialogs/number_text.h"
#include "dialogs/text_export.h"
#include "dialogs/warning_dlg.h"
#include "link/conversions.h"
#include "platform/text_file.h"
#include "platform/text_format.h"

namespace {

constexpr int kAddressDigits = 12;
constexpr int kGroupDigits = 4;
constexpr uint64_t kTopAddress = 0xFFFFFFFFFFFFull;
constexpr int kMainGroupColumn = 5;

bool IsHexText(const std::string& text) {
    return text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

// A typed field of hexadecimal digits, '0' put in front up to its width; false when it holds
// anything else or is too long.
bool ReadHexField(std::string text, int width, std::string& out) {
    if (!IsHexText(text) || text.size() > static_cast<size_t>(width)) return false;
    PadLeftZeros(text, width - 1);
    out = text;
    return true;
}

// The six bytes of an address text as one number, most significant byte first.
uint64_t AddressValue(const std::string& text) {
    ByteString bytes;
    HexTextToBytes(text, bytes, 0);
    FitAddressBytes(bytes, 6);
    uint64_t value = 0;
    for (unsigned char b : bytes) value = value << 8 | b;
    return value;
}

std::string AddressText(uint64_t value) { return StrFormat("%012llX", static_cast<unsigned long long>(value)); }

std::string RemoveBlanks(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

}  // namespace

CMeterManageDlg::CMeterManageDlg(ListView mainList) : Dialog(IDD_METER_MANAGE), m_mainList(mainList) {
    MapCommand(IDC_METER_ADD, Notify::Clicked, [this] { OnAddAddress(); });
    MapCommand(IDC_METER_IMPORT, Notify::Clicked, [this] { OnImportAddresses(); });
    MapCommand(IDC_METER_DELETE, Notify::Clicked, [this] { OnDeleteAddresses(); });
    MapCommand(IDC_METER_ADD_RANGE, Notify::Clicked, [this] { OnAddAddressRange(); });
    MapCommand(IDC_METER_SELECT_ALL, Notify::Clicked, [this] { OnSelectAll(); });
    MapCommand(IDC_METER_INVERT_SELECTION, Notify::Clicked, [this] { OnInvertSelection(); });
    MapCommand(IDC_METER_EXIT, Notify::Clicked, [this] { Close(); });
    MapCommand(IDC_METER_LIST, Notify::Click, [this] { OnClickAddressList(); });
    MapCommand(IDC_METER_LIST, Notify::CheckToggled, [this] { OnToggleCheck(); });
}

CMeterManageDlg::~CMeterManageDlg() { WarningBox().Dismiss(*this); }

void CMeterManageDlg::OnDestroy() { WarningBox().Dismiss(*this); }

bool CMeterManageDlg::OnInitDialog() {
    m_meterList.Attach(*this, IDC_METER_LIST);
    m_meterList.SetExtendedStyle(ListView::kExGridLines | ListView::kExCheckBoxes | ListView::kExFullRowSelect |
                                 ListView::kExFlatScrollBars);
    m_meterList.InsertColumn(0, "Sequence", 80);
    m_meterList.InsertColumn(1, "ADDRESS", 100, ListView::kCenter);
    m_meterList.InsertColumn(2, "group_addr", 100, ListView::kCenter);
    m_meterList.SetColumnAlign(0, ListView::kRight);
    MapCommand(IDC_METER_LIST, Notify::ColumnClick, [this] { OnSortAddressList(); });
    LoadRowsFromMainList();
    LimitEditLengths();
    const std::string about = LoadResString(IDS_ABOUTBOX);
    if (!about.empty()) {
        AppendSystemMenuItem(0, "");
        AppendSystemMenuItem(IDM_ABOUTBOX, about);
    }
    return true;
}

void CMeterManageDlg::LoadRowsFromMainList() {
    const int rows = m_mainList.GetItemCount();
    for (int i = 0; i < rows; ++i) {
        m_meterList.InsertItem(i, StrFormat("%d", i + 1));
        m_meterList.SetItemText(i, 1, m_mainList.GetItemText(i, 1));
        m_meterList.SetItemData(i, i);
        if (m_mainList.GetCheck(i)) m_meterList.SetCheck(i, true);
    }
}

void CMeterManageDlg::LimitEditLengths() {
    Edit(GetDlgItem(IDC_METER_ADDRESS)).SetLimitText(kAddressDigits);
    Edit(GetDlgItem(IDC_METER_RANGE_START)).SetLimitText(kAddressDigits);
    Edit(GetDlgItem(IDC_METER_RANGE_COUNT)).SetLimitText(4);
    Edit(GetDlgItem(IDC_METER_RANGE_STEP)).SetLimitText(4);
}

void CMeterManageDlg::Warn(const std::string& text) { WarningBox().Raise(*this, text); }

void CMeterManageDlg::AppendAddressRow(const std::string& address, const std::string& group, bool numbered) {
    const int row = m_meterList.GetItemCount();
    const std::string number = numbered ? StrFormat("%d", row + 1) : std::string();
    m_meterList.InsertItem(row, number);
    m_meterList.SetItemText(row, 1, address);
    m_meterList.SetItemText(row, 2, group);
    m_meterList.SetItemData(row, row);
    m_mainList.InsertItem(row, number);
    m_mainList.SetItemText(row, 1, address);
    m_mainList.SetItemText(row, kMainGroupColumn, group);
}

void CMeterManageDlg::OnAddAddress() {
    std::string address;
    std::string group;
    if (!ReadHexField(GetDlgItemText(IDC_METER_ADDRESS), kAddressDigits, address)) {
        Warn("地址格式错误");
        return;
    }
    if (!ReadHexField(GetDlgItemText(IDC_METER_GROUP), kGroupDigits, group)) {
        Warn("组播地址格式错误");
        return;
    }
    if (m_meterList.GetItemCount() >= kMaxAddresses) {
        Warn(StrFormat("总结点数不能超过%d", kMaxAddresses));
        return;
    }
    AppendAddressRow(address, group);
}

void CMeterManageDlg::OnAddAddressRange() {
    std::string group;
    std::string start;
    if (!ReadHexField(GetDlgItemText(IDC_METER_RANGE_GROUP), kGroupDigits, group)) {
        Warn("组播地址格式错误");
        return;
    }
    if (!ReadHexField(WithoutHexBlanks(GetDlgItemText(IDC_METER_RANGE_START)), kAddressDigits, start)) {
        Warn("地址格式错误");
        return;
    }
    // The step is typed in decimal digits and advances the address by its decimal value.
    const std::string stepText = GetDlgItemText(IDC_METER_RANGE_STEP);
    if (!IsBcdText(WithoutHexBlanks(stepText))) {
        Warn("步长必须为BCD格式");
        return;
    }
    long long countNumber = 0;
    if (!ReadWholeNumber(GetDlgItemText(IDC_METER_RANGE_COUNT), 0, std::numeric_limits<long long>::max(),
                         countNumber)) {
        Warn("地址数目格式错误");
        return;
    }
    const uint64_t first = AddressValue(start);
    // Read from the text as typed: "1 0" steps by 1.
    const uint64_t step = static_cast<uint64_t>(LeadingWholeNumber(stepText));
    // With no step every address after the first is the first again.
    const uint64_t count = step == 0 ? std::min<uint64_t>(countNumber, 1) : static_cast<uint64_t>(countNumber);
    if (count > 1 && (kTopAddress - first) / step < count - 1) {
        Warn("地址超出范围");
        return;
    }

    std::set<uint64_t> listed;
    for (int r = 0; r < m_meterList.GetItemCount(); ++r) listed.insert(AddressValue(m_meterList.GetItemText(r, 1)));
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t address = first + i * step;
        if (listed.count(address) != 0) continue;
        if (m_meterList.GetItemCount() >= kMaxAddresses) {
            Warn(StrFormat("总结点数不能超过%d", kMaxAddresses));
            return;
        }
        AppendAddressRow(AddressText(address), group);
        listed.insert(address);
    }
}

void CMeterManageDlg::OnImportAddresses() {
    TextFileDialog dialog;
    dialog.open = true;
    TextFile file;
    if (OpenTextImport(file, dialog, "打开文件失败").empty()) return;
    // A line without its blanks: the address is its first 12 characters (fewer when it is
    // shorter), the group the next 4 (none when absent); the rest is ignored. Both are padded as
    // typed ones are; a line whose address or group is not hexadecimal is skipped and counted.
    // An empty line gives a row with no texts, one of blanks a numbered row with none. Once the
    // lists are full the lines left are only counted.
    struct Entry {
        std::string address, group;
        bool numbered;
    };
    std::vector<Entry> entries;
    int badLines = 0;
    std::string line;
    while (entries.size() < static_cast<size_t>(kMaxAddresses) && file.ReadLine(line)) {
        if (file.LineTooLong()) {
            ++badLines;
            continue;
        }
        const std::string text = RemoveBlanks(line);
        if (text.empty()) {
            entries.push_back({"", "", !line.empty()});
            continue;
        }
        const std::string groupText = text.size() > kAddressDigits ? text.substr(kAddressDigits, kGroupDigits) : "";
        std::string address;
        std::string group;
        if (!ReadHexField(text.substr(0, kAddressDigits), kAddressDigits, address) ||
            (!groupText.empty() && !ReadHexField(groupText, kGroupDigits, group))) {
            ++badLines;
            continue;
        }
        entries.push_back({address, group, true});
    }
    const size_t notAdded = file.SkipRemainingLines();
    file.Close();

    DeleteAllRows();
    for (const Entry& e : entries) AppendAddressRow(e.address, e.group, e.numbered);
    std::string problems;
    if (badLines > 0) problems = StrFormat("%d行地址格式错误，已跳过", badLines);
    if (notAdded > 0) {
        if (!problems.empty()) problems += "；";
        AppendFormat(problems, "总结点数不能超过%d，%zu个地址未添加", kMaxAddresses, notAdded);
    }
    if (!problems.empty()) Warn(problems);
}

void CMeterManageDlg::DeleteAllRows() {
    m_meterList.DeleteAllItems();
    m_mainList.DeleteAllItems();
}

void CMeterManageDlg::OnDeleteAddresses() {
    if (ShowMessageBox("确认要清除选中表地址吗？", "提示", kMbOkCancel | kMbIconInformation) != kIdOk) return;
    // The rows checked here and their meters' rows of the main list go, each list in one pass.
    std::vector<bool> checked(static_cast<size_t>(m_meterList.GetItemCount()));
    std::vector<bool> mainChecked(static_cast<size_t>(m_mainList.GetItemCount()));
    for (size_t r = 0; r < checked.size(); ++r) {
        checked[r] = m_meterList.GetCheck(static_cast<int>(r));
        const size_t mainRow = static_cast<size_t>(MainRow(static_cast<int>(r)));
        if (checked[r] && mainRow < mainChecked.size()) mainChecked[mainRow] = true;
    }
    m_meterList.DeleteItems(checked);
    m_mainList.DeleteItems(mainChecked);
    // The main rows left move up by the rows deleted above them.
    std::vector<int> newMainRow(mainChecked.size());
    int kept = 0;
    for (size_t r = 0; r < mainChecked.size(); ++r) {
        newMainRow[r] = kept;
        if (!mainChecked[r]) ++kept;
    }
    const int rows = m_meterList.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        const size_t mainRow = static_cast<size_t>(MainRow(r));
        if (mainRow < newMainRow.size()) m_meterList.SetItemData(r, newMainRow[mainRow]);
    }
}

void CMeterManageDlg::SetRowCheck(int row, bool check) {
    m_meterList.SetCheck(row, check);
    m_mainList.SetCheck(MainRow(row), check);
}

void CMeterManageDlg::OnSelectAll() {
    const bool check = Button(GetDlgItem(IDC_METER_SELECT_ALL)).GetCheck() != 0;
    for (int r = m_meterList.GetItemCount(); r-- > 0;) SetRowCheck(r, check);
}

void CMeterManageDlg::OnInvertSelection() {
    for (int r = m_meterList.GetItemCount(); r-- > 0;) SetRowCheck(r, !m_meterList.GetCheck(r));
}

void CMeterManageDlg::OnClickAddressList() {
    const int rows = m_meterList.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        if (m_meterList.GetItemState(r, ListView::kStateSelected) != 0) SetRowCheck(r, !m_meterList.GetCheck(r));
    }
}

void CMeterManageDlg::OnToggleCheck() {
    // A click on a row's check box has toggled it here: its meter's main row takes the same state.
    const int row = m_meterList.LastToggledRow();
    if (row >= 0 && row < m_meterList.GetItemCount()) m_mainList.SetCheck(MainRow(row), m_meterList.GetCheck(row));
}

void CMeterManageDlg::OnSortAddressList() {
    const int column = m_meterList.LastClickedColumn();
    if (column < 0) return;
    std::vector<int> mainRows(static_cast<size_t>(m_meterList.GetItemCount()));
    for (size_t r = 0; r < mainRows.size(); ++r) mainRows[r] = MainRow(static_cast<int>(r));
    // The sort leaves each row's index before it in its item data.
    m_meterList.OnColumnClick(column);
    for (size_t r = 0; r < mainRows.size(); ++r) {
        const int row = static_cast<int>(r);
        m_meterList.SetItemData(row, mainRows[static_cast<size_t>(m_meterList.GetItemData(row))]);
    }
}

bool CMeterManageDlg::PreTranslateKey(Key key) {
    if (key == Key::Shift) FillCheckRange();
    return false;
}

void CMeterManageDlg::FillCheckRange() {
    // The first three checked rows are checked in the main list too.
    std::vector<int> checked;
    const int rows = m_meterList.GetItemCount();
    for (int r = 0; r < rows && checked.size() < 3; ++r) {
        if (!m_meterList.GetCheck(r)) continue;
        m_mainList.SetCheck(MainRow(r), true);
        checked.push_back(r);
    }
    if (checked.size() < 2) return;
    for (int r = checked[0] + 1; r < checked[1]; ++r) SetRowCheck(r, true);
}
