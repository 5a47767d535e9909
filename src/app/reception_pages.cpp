#include "app/reception_pages.h"

#include "res/resource_ids.h"

CReceptionPage::CReceptionPage(int templateId, std::vector<std::pair<const char*, int>> columns,
                               std::vector<bool> leftAligned)
    : Dialog(templateId), m_columns(std::move(columns)), m_left(std::move(leftAligned)) {}

bool CReceptionPage::OnInitDialog() {
    m_list = ListView(GetDlgItem(IDC_RECEPTION_LIST));
    for (size_t i = 0; i < m_columns.size(); ++i) {
        m_list.InsertColumn(static_cast<int>(i), m_columns[i].first, m_columns[i].second,
                            m_left[i] ? ListView::kLeft : ListView::kCenter);
    }
    m_list.SetColumnAlign(0, ListView::kRight);
    return true;
}

CMacLayerFramePage::CMacLayerFramePage()
    : CReceptionPage(IDD_MAC_FRAME_PAGE,
                     {{"编号", 40}, {"源节点", 120}, {"目的节点", 120}, {"PanID", 60}, {"帧序号", 60},
                      {"帧类型", 80}, {"帧内容", 700}},
                     {false, false, false, false, false, false, true}) {
    MapCommand(IDC_RECEPTION_LIST, Notify::ItemChanged, [this] { OnItemChanged(); });
}

bool CMacLayerFramePage::OnInitDialog() {
    m_colorList.Attach(*this, IDC_RECEPTION_LIST);
    return CReceptionPage::OnInitDialog();
}

void CMacLayerFramePage::OnItemChanged() {
    // Looks up the first selected row and shows nothing.
    (void)m_list.GetSelectionMark();
}

CNetworkLayerFramePage::CNetworkLayerFramePage()
    : CReceptionPage(IDD_NET_FRAME_PAGE,
                     {{"编号", 40}, {"源节点", 120}, {"目的节点", 120}, {"帧序号", 60}, {"帧类型", 80},
                      {"网络命令标识", 100}, {"网络帧载荷", 600}},
                     {false, false, false, false, false, false, true}) {}

CAppLayerFramePage::CAppLayerFramePage()
    : CReceptionPage(IDD_APP_FRAME_PAGE,
                     {{"编号", 40}, {"帧类型", 80}, {"帧序号", 80}, {"厂家标识", 80}, {"扩展域数据", 200},
                      {"帧内容", 700}},
                     {false, false, false, false, true, true}) {}
