// Templates, menu, strings and images of res/.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "main_layout.h"
#include "platform/dialog_template.h"

namespace {

const bool kRegistered = (RegisterResources(), true);

struct Rect {
    int id;
    double x, y, w, h;
};

// Rectangles that the layout fixes.
const Rect kFixedRects[] = {
    {1001, 0.20, 0.07, 0.08, 0.03},   {1021, 0.29, 0.07, 0.08, 0.03},
    {1232, 0.38, 0.07, 0.08, 0.03},   {1033, 0.47, 0.07, 0.08, 0.03},
    {1034, 0.56, 0.07, 0.08, 0.03},   {1044, 0.65, 0.07, 0.08, 0.03},
    {1045, 0.74, 0.07, 0.08, 0.03},   {1046, 0.83, 0.07, 0.08, 0.03},
    {1272, 0.195, 0.23, 0.50, 0.617}, {1012, 0.70, 0.24, 0.27, 0.617},
    {1015, 0.702, 0.24, 0.27, 0.617}, {1271, 0.702, 0.20, 0.14, 0.04},
    {3032, 0.195, 0.23, 0.77, 0.617}, {3037, 0.195, 0.23, 0.77, 0.617},
    {1630, 0.195, 0.24, 0.50, 0.285}, {1637, 0.195, 0.24, 0.50, 0.285},
    {1636, 0.195, 0.565, 0.50, 0.285}, {1641, 0.195, 0.565, 0.50, 0.285},
    {1629, 0.195, 0.242, 0.50, 0.617}, {2043, 0.20, 0.13, 0.70, 0.20},
    {1008, 0.20, 0.85, 0.07, 0.035},  {1227, 0.02, 0.89, 0.20, 0.015},
    {3042, 0.02, 0.91, 0.20, 0.03},   {1338, 0.20, 0.89, 0.50, 0.03},
    {3012, 0.65, 0.14, 0.09, 0.07},   {1977, 0.375, 0.14, 0.07, 0.03},
    {-1, 0.18, 0.03, 0.805, 0.865},   {1265, 0.02, 0.04, 0.15, 0.85},
    {1013, 0.45, 0.02, 0.12, 0.04},   {1047, 0.19, 0.14, 0.80, 0.82},
};

const std::map<int, std::string> kCaptions = {
    // Buttons of the top row and the general controls.
    {1001, "关闭接收"}, {1021, "显示报文监控"}, {1232, "清除报文"}, {1033, "组织报文"},
    {1034, "解析报文"}, {1044, "数据导入"}, {1045, "数据导出"}, {1046, "定时发送"},
    {1008, "自动更新"}, {3042, "版本号:"}, {1271, "地址管理："}, {-1, ""},
    // Frame-control group.
    {1524, "帧控制域"}, {1517, "方向DIR:"}, {1797, "Prm:"}, {1520, "Respond:"},
    {1522, "信道类型:"},
    // Meter reading in rounds.
    {3016, "启动"}, {3017, "停止"}, {3033, "数据标识:"}, {3006, "起始地址:"},
    {3008, "终止地址:"}, {3010, "轮抄次数:"}, {3014, "发送延时(ms):"}, {3018, "发送次数:"},
    {3020, "成功次数:"}, {3022, "成功率%:"}, {3024, "平均耗时:"}, {3026, "总耗时:"},
    {3028, "最大耗时:"}, {3030, "最小耗时:"},
    // Pass-through and frame text generation.
    {3035, "发送"}, {1402, "显示所有串口接收报文"}, {3049, "79"}, {3050, "Cmd (H)"},
    {3053, "Data(H)"}, {3055, "生成"}, {3056, "报文"},
    // Network parameters.
    {1591, "设置网络参数"}, {1587, "透传层级限制(D):"}, {1745, "波特率:"}, {2008, "校验位:"},
    {1992, "停止位:"}, {1933, "子载波数:"}, {1858, "发送功率："},
    // Send data, search, passwords.
    {3047, "接收数据显示"}, {1601, "发送数据"}, {1541, "Dst Mode:"}, {3002, "Src Mode:"},
    {1939, "KeyMode:"}, {3004, "深度(D):"}, {1631, "Dst Addr:"}, {1635, "User Data:"},
    {1500, "连续发送数据"}, {1317, "中断"}, {1603, "深度(D):"}, {1812, "搜索范围:"},
    {1834, "搜索列表"}, {1607, "发起搜索"}, {1816, "停止搜索"}, {1880, "回复设备搜索属性"},
    {1545, "Dst Addr:"}, {1881, "State:"}, {1883, "Task ID(H):"},
    {3048, "通知网络口令设置显示"}, {1609, "发起远程用户口令设置"}, {1804, "Dst Addr:"},
    {1555, "Old Psk Len:"}, {1557, "Old Psk:"}, {1610, "New Psk Len:"}, {1613, "New Psk:"},
    {1009, "十六进制"}, {1608, "设置用户网络口令"},
    // Commands of the dormant pages.
    {1553, "执行状态上报"}, {1616, "开始连接"}, {1860, "链接状态上报"}, {1622, "删除连接"},
    {1803, "广播通信"}, {2072, "连续广播通信"}, {2075, "停止连续广播"}, {1869, "连续搜索"},
    {1870, "停止连续搜索"}, {1565, "设备上报"}, {1564, "添加上报设备"},
    {1879, "申请设备搜索属性"}, {1809, "响应远程用户口令设置"},
    {1817, "从机远程设置网络口令回复"}, {1936, "设置本地tone"}, {1986, "远程设置主干口令请求"},
    {1984, "从机设置主干口令请求"}, {1987, "远程设置主干口令回复"},
    {1985, "从机设置主干网络口令回复"}, {1999, "远程设置组播地址请求"},
    {2010, "远程设置组播地址回复"}, {1931, "使能TCP/IP模式"}, {1836, "读取本地网口信息"},
    {1837, "设置本地网口信息"}, {1862, "DNS域名解析"}, {1866, "DNS域名解析上报"},
    {1903, "TCP连接状态上报"}, {1914, "TCP连接状态查询"}, {1906, "建立TCP连接"},
    {1909, "删除TCP连接"}, {1910, "TCP/IP发送数据"}, {1913, "TCP接收数据"},
    {1833, "发送"}, {1892, "组帧测试"}, {2038, "配置参数"}, {2041, "选择母板文件"},
    {2042, "选择比对文件"}, {2044, "开始比对"},
    // Address list and the batch tests.
    {1267, "添加地址"}, {1651, "开始测试"}, {1022, "清空测试结果"}, {1917, "结果导出"},
    {1409, "反选"}, {1916, "选择失败项"}, {1059, "删除地址"}, {1269, "选择升级文件"},
    {1268, "升级"}, {1408, "停止升级"}, {1491, "版本测试"}, {1754, "远程点抄"},
    {1755, "自动点抄"}, {1756, "自动点抄"}, {1796, "停止点抄"}, {1793, "统计"},
    {1794, "点抄间隔(s)："}, {1971, "读取复位信息"}, {1976, "自动清除复位"},
    // Field labels.
    {1752, "数据长度："}, {1594, "地址模式："}, {1994, "组播地址："}, {1634, "组播地址："},
    {1893, "Radious:"}, {2073, "超时时间(s):"}, {1562, "设备数目："}, {1822, "中继深度:"},
    {1828, "State:"}, {1980, " 组播："}, {1934, "Tgain:"},
    {1937, "取值范围为[-24， 10]只能取值为偶数"}, {2000, "组播数目:"}, {2002, "组播1："},
    {2004, "组播2:"}, {2006, "组播3："}, {1838, "IP:"}, {1841, "MASK:"}, {1843, "GW:"},
    {1845, "Fir_DNS:"}, {1847, "Sec_DNS:"}, {1864, "域名："}, {1899, "Src IP:"},
    {1901, "Src port:"}, {1895, "Dst IP:"}, {1897, "Dst port:"}, {1904, "Status:"},
    {1907, "Type:"}, {1911, "User Data:"}, {1889, "CMD:"}, {1891, "DATA:"}, {1516, "index:"},
    {1178, "data:"},
};

const std::set<int> kCombos = {1518, 1798, 1521, 1523, 1528, 3003, 1542, 1977,
                               2009, 1993, 1543, 1859, 1825, 1829, 1599, 1595,
                               1597, 1940, 1814, 1882, 1856, 1905, 1908, 3012};
const std::set<int> kLists = {1272, 3032, 3037, 1630, 1636, 1637, 1641, 1629, 1015};
const std::set<int> kCheckBoxIds = {1008, 1402, 1009, 1409, 1916};
const std::set<int> kIpFields = {1853, 1850, 1852, 1851, 1849, 1896, 1900};
const std::set<int> kGroupBoxes = {1524, 1755, -1};

TEST(ResMainTemplate, Header) {
    const DialogTemplate* t = FindDialogTemplate(102);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->id, 102);
    EXPECT_STREQ(t->caption, "KV3391T");
    EXPECT_EQ(t->units, TemplateUnits::Fractions);
    EXPECT_EQ(t->width, 1280);
    EXPECT_EQ(t->height, 800);
    EXPECT_STREQ(t->fontName, "SimSun");
    EXPECT_EQ(t->fontPointSize, 9);
    EXPECT_EQ(t->style, uint32_t(kDlgSystemMenu | kDlgMinimizeBox | kDlgMaximizeBox | kDlgResizable));
    EXPECT_NE(FindMenuTemplate(t->menuId), nullptr);
}

TEST(ResMainTemplate, LayoutOrderOpensTheControlList) {
    EXPECT_EQ(kLayoutCount, 274);
    const DialogTemplate& t = MainTemplate();
    ASSERT_GE(static_cast<int>(t.controls.size()), kLayoutCount);
    for (int i = 0; i < kLayoutCount; ++i) EXPECT_EQ(t.controls[i].id, kLayoutOrder[i]) << "index " << i;
    // The frame of the page area is the first control with id -1.
    for (const ControlTemplate& c : t.controls) {
        if (c.id != -1) continue;
        EXPECT_EQ(c.kind, ControlKind::GroupBox);
        EXPECT_DOUBLE_EQ(c.x, 0.18);
        EXPECT_DOUBLE_EQ(c.w, 0.805);
        break;
    }
}

TEST(ResMainTemplate, IdsAreUnique) {
    std::set<int> seen;
    for (const ControlTemplate& c : MainTemplate().controls) {
        if (c.id == -1) continue;
        EXPECT_TRUE(seen.insert(c.id).second) << "id " << c.id;
    }
    for (int id : {1265, 1013, 1047}) EXPECT_TRUE(seen.count(id)) << "id " << id;
}

TEST(ResMainTemplate, FixedRectangles) {
    const DialogTemplate& t = MainTemplate();
    for (const Rect& r : kFixedRects) {
        const ControlTemplate* c = FindControl(t, r.id);
        ASSERT_NE(c, nullptr) << "id " << r.id;
        EXPECT_DOUBLE_EQ(c->x, r.x) << "id " << r.id;
        EXPECT_DOUBLE_EQ(c->y, r.y) << "id " << r.id;
        EXPECT_DOUBLE_EQ(c->w, r.w) << "id " << r.id;
        EXPECT_DOUBLE_EQ(c->h, r.h) << "id " << r.id;
    }
}

TEST(ResMainTemplate, Captions) {
    const DialogTemplate& t = MainTemplate();
    for (const auto& [id, caption] : kCaptions) {
        const ControlTemplate* c = FindControl(t, id);
        ASSERT_NE(c, nullptr) << "id " << id;
        EXPECT_EQ(std::string(c->caption), caption) << "id " << id;
    }
}

TEST(ResMainTemplate, Kinds) {
    const DialogTemplate& t = MainTemplate();
    for (const ControlTemplate& c : t.controls) {
        const bool combo = c.kind == ControlKind::ComboDropDown || c.kind == ControlKind::ComboDropList;
        EXPECT_EQ(combo, kCombos.count(c.id) == 1) << "id " << c.id;
        if (combo) {
            EXPECT_EQ(c.kind, ControlKind::ComboDropDown) << "id " << c.id;
            EXPECT_TRUE(c.style & kSorted) << "id " << c.id;
        }
        EXPECT_EQ(c.kind == ControlKind::ListReport, kLists.count(c.id) == 1) << "id " << c.id;
        EXPECT_EQ(c.kind == ControlKind::CheckBox, kCheckBoxIds.count(c.id) == 1) << "id " << c.id;
        EXPECT_EQ(c.kind == ControlKind::IpAddress, kIpFields.count(c.id) == 1) << "id " << c.id;
        EXPECT_EQ(c.kind == ControlKind::GroupBox, kGroupBoxes.count(c.id) == 1) << "id " << c.id;
        EXPECT_EQ((c.style & kCheckBoxes) != 0, c.id == 1015) << "id " << c.id;
    }
    for (int id : {1012, 2043}) {
        const ControlTemplate* c = FindControl(t, id);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->kind, ControlKind::RichEdit);
        EXPECT_TRUE(c->style & kMultiline);
        EXPECT_TRUE(c->style & kReadOnly);
    }
    EXPECT_EQ(FindControl(t, 1265)->kind, ControlKind::Tree);
    EXPECT_EQ(FindControl(t, 1047)->kind, ControlKind::Tab);
    for (int id : {3019, 3021, 3023, 3025, 3027, 3029, 3031, 3057}) {
        EXPECT_EQ(FindControl(t, id)->kind, ControlKind::Edit) << "id " << id;
        EXPECT_TRUE(FindControl(t, id)->style & kReadOnly) << "id " << id;
    }
}

TEST(ResMainTemplate, OnlyTheGeneralControlsStartVisible) {
    for (const ControlTemplate& c : MainTemplate().controls) {
        const bool visible = !(c.style & kHidden);
        EXPECT_EQ(visible, kAlwaysVisible.count(c.id) == 1) << "id " << c.id;
    }
}

TEST(ResStrings, TableEntries) {
    EXPECT_STREQ(LoadResString(101), "关于 Brevanti(&A)...");
    EXPECT_STREQ(LoadResString(102), "81系统调试软件 ");
    EXPECT_STREQ(LoadResString(103), "");
}

TEST(ResAboutTemplate, Texts) {
    const DialogTemplate* t = FindDialogTemplate(100);
    ASSERT_NE(t, nullptr);
    EXPECT_STREQ(t->caption, "关于 Brevantor");
    EXPECT_EQ(t->units, TemplateUnits::DialogUnits);
    EXPECT_STREQ(t->fontName, "SimSun");
    EXPECT_EQ(t->fontPointSize, 9);
    EXPECT_EQ(t->menuId, 0);
    bool icon = false, line = false, ok = false;
    for (const ControlTemplate& c : t->controls) {
        if (c.kind == ControlKind::Picture && std::string(c.caption) == "128") icon = true;
        if (c.kind == ControlKind::Static && std::string(c.caption) == "Brevantor  150918版") line = true;
        if (c.id == 1) {
            EXPECT_EQ(c.kind, ControlKind::DefPushButton);
            EXPECT_STREQ(c.caption, "确定");
            ok = true;
        }
    }
    EXPECT_TRUE(icon);
    EXPECT_TRUE(line);
    EXPECT_TRUE(ok);
}

TEST(ResMenu, MainMenuCommands) {
    const MenuTemplate* m = FindMenuTemplate(MainTemplate().menuId);
    ASSERT_NE(m, nullptr);
    std::map<int, std::string> items;
    for (const MenuItemTemplate& it : m->items) {
        items[it.id] = it.caption;
        for (const MenuItemTemplate& sub : it.children) items[sub.id] = sub.caption;
    }
    EXPECT_EQ(items[3771], "串口设置");
    EXPECT_EQ(items[3773], "报文导入");
    EXPECT_EQ(items[3774], "报文导出");
    EXPECT_EQ(items[3776], "清除报文");
}

TEST(ResLookup, UnknownIds) {
    EXPECT_EQ(FindDialogTemplate(999), nullptr);
    EXPECT_EQ(FindMenuTemplate(999), nullptr);
}

// Width and height from the header of a PNG file; false when it is not one.
bool PngSize(const std::string& path, uint32_t& w, uint32_t& h) {
    std::ifstream in(path, std::ios::binary);
    unsigned char b[24];
    if (!in.read(reinterpret_cast<char*>(b), sizeof b)) return false;
    static const unsigned char kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (std::memcmp(b, kSig, 8) != 0 || std::memcmp(b + 12, "IHDR", 4) != 0) return false;
    w = (uint32_t(b[16]) << 24) | (uint32_t(b[17]) << 16) | (uint32_t(b[18]) << 8) | b[19];
    h = (uint32_t(b[20]) << 24) | (uint32_t(b[21]) << 16) | (uint32_t(b[22]) << 8) | b[23];
    return true;
}

TEST(ResImages, IconAndBackground) {
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(PngSize(std::string(KVT_RES_DIR) + "/icon128.png", w, h));
    EXPECT_EQ(w, 32u);
    EXPECT_EQ(h, 32u);
    ASSERT_TRUE(PngSize(std::string(KVT_RES_DIR) + "/bitmap204.png", w, h));
    EXPECT_EQ(w, 800u);
    EXPECT_EQ(h, 500u);
}

}  // namespace
