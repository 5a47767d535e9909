#pragma once
// The list of the devices that search reports announce, with the last report explained beside it.

#include <cstdint>
#include <string>
#include <vector>

#include "analyzer/search_analyzers.h"
#include "dialogs/color_list_ctrl.h"
#include "dialogs/main_window_port.h"
#include "link/byte_string.h"
#include "platform/text_file.h"
#include "platform/ui.h"

// One list row taken from a search report: the ten cell texts (as far as the entry reached)
// and the MAC address bytes in display order.
struct SearchedDeviceRow {
    std::string cells[10];
    ByteString mac;
};

class CDeviceSearchListDlg : public Dialog {
public:
    // Most rows the list holds.
    static constexpr uint32_t kMaxRows = 10000;

    explicit CDeviceSearchListDlg(MainWindowPort& window);

    // A received search report (command 0x19); any thread. The frame is explained on the calling
    // thread; the pane and the list change on the user-interface thread.
    void OnSearchReportFrame(ByteString frame);
    // Appends the explanation of the frame to text; a normal report from the module also gives
    // its devices.
    std::vector<SearchedDeviceRow> ProcessSearchReport(ByteString frame, std::string& text, int start);
    // One row per device entry; returns the position after the last entry, or -1 when an entry
    // runs past the end of the frame (the rows before and the cells of that entry stay).
    static int AddSearchedDevices(ByteString frame, int start, std::vector<SearchedDeviceRow>& rows);
    // Columns Depth, net, Devmode and groupmode from the word at pos; column advanced by 4.
    static int FormatDeviceInfoWord(const ByteString& frame, int pos, SearchedDeviceRow& row, int& column,
                                    DeviceInfoWord& fields);
    // Appends the rows (user-interface thread); rows beyond the list's size are dropped and counted.
    void AppendDeviceRows(const std::vector<SearchedDeviceRow>& rows);

    // Writes the list to the routing file of this repetition and clears it; when the file could
    // not be written whole, the rows and any earlier file of that name stay.
    void AutoExportRouting();

    void OnDeleteDevices();
    void OnClearList();
    // A file that could not be written whole leaves any earlier file of that name.
    void OnExportDeviceList();
    // Lines that fit neither layout are skipped; a full list reads no further. One message says
    // how many lines were skipped and how many were not imported.
    void OnImportDeviceList();
    void OnCountByNetworkState();
    void OnCountByDepth();

    // Texts of the list cells.
    static const char* NetStateText(uint8_t state);
    static const char* DeviceTypeText(uint8_t type);
    static const char* MulticastFlagText(uint8_t flag);

    // The header line of the export, without its line feed.
    static std::string ExportHeader();

    CColorListCtrl m_deviceList;          // IDC_SEARCH_DEVICE_LIST; a header click sorts
    std::vector<uint8_t> m_keepMarks;     // per row position: 1 keep, 0 deleted
    std::vector<ByteString> m_macRecords; // per row position: MAC bytes, most significant first
    uint32_t m_rowCount = 0;
    TextFile m_routingFile;
    // Rows and import lines that did not fit into the list.
    uint32_t m_droppedRows = 0;

protected:
    void DoDataExchange();
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnClose() override;

private:
    MainWindowPort& m_window;
};
