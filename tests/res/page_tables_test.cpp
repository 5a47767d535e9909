// Page tables of the main window and the items of the function tree.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/page_tables.h"
#include "main_layout.h"

namespace {

const std::vector<int> kFrameGroup = {1524, 1517, 1797, 1520, 1522, 1518, 1798, 1521, 1523};

std::vector<int> WithFrameGroup(std::vector<int> rest) {
    std::vector<int> v = kFrameGroup;
    v.insert(v.end(), rest.begin(), rest.end());
    return v;
}

const std::map<int, std::vector<int>> kLiveTables = {
    {101, WithFrameGroup({1008, 3032, 3016, 3017, 3033, 3034, 3006, 3007, 3008, 3009, 3010, 3011,
                          3012, 3013, 3014, 3015, 3018, 3019, 3020, 3021, 3022, 3023, 3024, 3025,
                          3026, 3027, 3028, 3029, 3030, 3031})},
    {102, {1008, 3035, 3036, 3037, 1402}},
    {103, WithFrameGroup({3049, 3050, 3052, 3053, 3054, 3055, 3056, 3057})},
    {12, WithFrameGroup({1272, 1008, 1591, 1012, 1587, 1588, 1745, 1977, 2008, 2009, 1992, 1993,
                         1933, 1543, 1858, 1859})},
    {13, WithFrameGroup({3047, 1630, 1636, 1008, 1601, 1541, 1542, 3002, 3003, 1939, 1940, 3004,
                         3005, 1639, 1631, 1638, 1635, 1500, 1317, 1012})},
    {14, WithFrameGroup({1629, 1008, 1012, 1603, 1604, 1812, 1814, 1635, 1639, 1834, 1607, 1816})},
    {37, WithFrameGroup({1629, 1008, 1012, 1880, 1545, 1546, 1635, 1639, 1881, 1882, 1883, 1884})},
    {15, WithFrameGroup({3048, 1637, 1641, 1008, 1012, 1609, 1804, 1805, 1555, 1556, 1557, 1558,
                         1610, 1611, 1613, 1614, 1009})},
    {112, WithFrameGroup({1008, 1012, 1608, 1637, 1610, 1611, 1613, 1614, 1009})},
};

const std::map<int, int> kLiveCounts = {{101, 39}, {102, 5},  {103, 17}, {12, 25}, {13, 29},
                                        {14, 21},  {37, 21},  {15, 26},  {112, 18}};

// Codes that no tree item carries.
std::set<int> DormantCodes() {
    std::set<int> s;
    const std::pair<int, int> ranges[] = {{3, 6},   {16, 19}, {21, 21}, {23, 28}, {30, 36},
                                          {38, 38}, {40, 45}, {47, 48}, {52, 52}, {54, 54},
                                          {56, 58}, {60, 72}, {74, 75}, {77, 77}, {79, 80},
                                          {82, 95}, {100, 100}};
    for (const auto& r : ranges) {
        for (int c = r.first; c <= r.second; ++c) s.insert(c);
    }
    return s;
}

std::vector<int> Ids(const PageTable& t) { return std::vector<int>(t.ids, t.ids + t.count); }

constexpr double kEps = 1e-9;

bool Intersect(const ControlTemplate& a, const ControlTemplate& b) {
    const double w = std::min(a.x + a.w, b.x + b.w) - std::max(a.x, b.x);
    const double h = std::min(a.y + a.h, b.y + b.h) - std::max(a.y, b.y);
    return w > kEps && h > kEps;
}

bool Contains(const ControlTemplate& g, const ControlTemplate& c) {
    return g.x <= c.x + kEps && g.y <= c.y + kEps && c.x + c.w <= g.x + g.w + kEps &&
           c.y + c.h <= g.y + g.h + kEps;
}

// Pairs whose fixed rectangles meet: the search log reaches 0.009 H into 自动更新.
bool FixedOverlap(int a, int b) {
    return (a == 1629 && b == 1008) || (a == 1008 && b == 1629);
}

TEST(ResPageTables, FortyEightTablesWithDistinctCodes) {
    int n = 0;
    const PageTable* all = AllPageTables(&n);
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(n, 48);
    std::set<int> codes;
    const std::set<int> dormant = DormantCodes();
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(codes.insert(all[i].code).second) << "code " << all[i].code;
        EXPECT_TRUE(kLiveTables.count(all[i].code) || dormant.count(all[i].code)) << "code " << all[i].code;
        EXPECT_GT(all[i].count, 0);
        EXPECT_EQ(FindPageTable(all[i].code), &all[i]);
    }
}

TEST(ResPageTables, LiveTables) {
    for (const auto& [code, ids] : kLiveTables) {
        const PageTable* t = FindPageTable(code);
        ASSERT_NE(t, nullptr) << "code " << code;
        EXPECT_EQ(t->count, kLiveCounts.at(code)) << "code " << code;
        EXPECT_EQ(Ids(*t), ids) << "code " << code;
    }
}

TEST(ResPageTables, CodesWithoutTables) {
    for (int code : {0, 7, 46, 2, 8, 9, 10, 11, 49, 50, 51, 53, 111, 47, 48, 56, 72, 100}) {
        EXPECT_EQ(FindPageTable(code), nullptr) << "code " << code;
    }
}

TEST(ResPageTables, FrameControlGroupOpensThePages) {
    int n = 0;
    const PageTable* all = AllPageTables(&n);
    for (int i = 0; i < n; ++i) {
        const std::vector<int> ids = Ids(all[i]);
        const bool opens = ids.size() >= kFrameGroup.size() &&
                           std::vector<int>(ids.begin(), ids.begin() + kFrameGroup.size()) == kFrameGroup;
        // The pass-through page has none; the result pane of the image comparison leaves no room.
        const bool expected = all[i].code != PAGE_PASS_THROUGH && all[i].code != PAGE_IMAGE_COMPARE;
        EXPECT_EQ(opens, expected) << "code " << all[i].code;
    }
}

TEST(ResPageTables, EveryIdIsAControlOfTheMainWindow) {
    const DialogTemplate& t = MainTemplate();
    int n = 0;
    const PageTable* all = AllPageTables(&n);
    for (int i = 0; i < n; ++i) {
        std::set<int> seen;
        for (int id : Ids(all[i])) {
            EXPECT_NE(FindControl(t, id), nullptr) << "code " << all[i].code << " id " << id;
            EXPECT_TRUE(seen.insert(id).second) << "code " << all[i].code << " id " << id;
            EXPECT_FALSE(kAlwaysVisible.count(id)) << "code " << all[i].code << " id " << id;
        }
    }
}

TEST(ResPageTables, EveryPageControlIsInATable) {
    std::set<int> inTables;
    int n = 0;
    const PageTable* all = AllPageTables(&n);
    for (int i = 0; i < n; ++i) {
        for (int id : Ids(all[i])) inTables.insert(id);
    }
    for (int id : kLayoutOrder) {
        if (!kAlwaysVisible.count(id)) {
            EXPECT_TRUE(inTables.count(id)) << "id " << id;
        }
    }
}

TEST(ResPageTables, PagesStayInsideThePageArea) {
    const DialogTemplate& t = MainTemplate();
    int n = 0;
    const PageTable* all = AllPageTables(&n);
    for (int i = 0; i < n; ++i) {
        for (int id : Ids(all[i])) {
            const ControlTemplate* c = FindControl(t, id);
            ASSERT_NE(c, nullptr);
            EXPECT_GE(c->x, 0.18 - kEps) << "id " << id;
            EXPECT_LE(c->x + c->w, 0.985 + kEps) << "id " << id;
            EXPECT_GE(c->y, 0.03 - kEps) << "id " << id;
            EXPECT_LE(c->y + c->h, 0.895 + kEps) << "id " << id;
        }
    }
}

TEST(ResPageTables, ControlsOfAPageDoNotOverlap) {
    const DialogTemplate& t = MainTemplate();
    int n = 0;
    const PageTable* all = AllPageTables(&n);
    for (int p = 0; p < n; ++p) {
        const std::vector<int> ids = Ids(all[p]);
        for (size_t i = 0; i < ids.size(); ++i) {
            for (size_t j = i + 1; j < ids.size(); ++j) {
                const ControlTemplate& a = *FindControl(t, ids[i]);
                const ControlTemplate& b = *FindControl(t, ids[j]);
                if (!Intersect(a, b) || FixedOverlap(a.id, b.id)) continue;
                if (a.kind == ControlKind::GroupBox && Contains(a, b)) continue;
                if (b.kind == ControlKind::GroupBox && Contains(b, a)) continue;
                ADD_FAILURE() << "code " << all[p].code << ": " << a.id << " and " << b.id;
            }
        }
    }
}

TEST(ResPageTables, PagesLeaveTheGeneralControlsFree) {
    const DialogTemplate& t = MainTemplate();
    int n = 0;
    const PageTable* all = AllPageTables(&n);
    for (int p = 0; p < n; ++p) {
        for (int id : Ids(all[p])) {
            for (int v : kAlwaysVisible) {
                if (v == -1) continue;
                EXPECT_FALSE(Intersect(*FindControl(t, id), *FindControl(t, v)))
                    << "code " << all[p].code << ": " << id << " and " << v;
            }
        }
    }
}

TEST(ResFunctionTree, TwoBranchesInOrder) {
    const std::vector<std::pair<std::string, int>> local = {
        {"轮抄", 101},           {"透明传输", 102},         {"自组报文", 103},
        {"模块重启", 8},         {"读取版本信息", 9},       {"读取MAC地址", 10},
        {"读取通信地址", 11},    {"设置通信地址", 53},      {"读取用户网络口令", 111},
        {"设置用户网络口令", 112}, {"读取网络参数", 2},       {"设置网络参数", 12},
        {"发送数据", 13},        {"发起设备搜索", 14},      {"响应设备搜索", 37},
        {"发起远程用户口令设置", 15}};
    const std::vector<std::pair<std::string, int>> remote = {
        {"远程读取版本信息", 49}, {"远程读取MAC地址", 50}, {"远程读取网络参数", 51}};
    int n = 0;
    const TreeItemDef* items = FunctionTreeItems(&n);
    ASSERT_EQ(n, 21);
    EXPECT_STREQ(items[0].text, "本地功能调试");
    EXPECT_EQ(items[0].code, 7);
    EXPECT_EQ(items[0].parentCode, 0);
    for (size_t i = 0; i < local.size(); ++i) {
        EXPECT_EQ(items[1 + i].text, local[i].first);
        EXPECT_EQ(items[1 + i].code, local[i].second);
        EXPECT_EQ(items[1 + i].parentCode, 7);
    }
    EXPECT_STREQ(items[17].text, "远程调试功能");
    EXPECT_EQ(items[17].code, 46);
    EXPECT_EQ(items[17].parentCode, 0);
    for (size_t i = 0; i < remote.size(); ++i) {
        EXPECT_EQ(items[18 + i].text, remote[i].first);
        EXPECT_EQ(items[18 + i].code, remote[i].second);
        EXPECT_EQ(items[18 + i].parentCode, 46);
    }
}

}  // namespace
