// Layout of the main window: every control at fractions of the window's size.

#include <cmath>

#include "app/main_tester_dlg.h"
#include "commands/TestDlg/test_dlg.h"

namespace {

// The controls moved by the layout, in order; -1 is the frame of the page area.
const int kLayoutOrder[] = {
    3049, 3050, 3052, 3053, 3054, 3055, 3056, 3057, 3016, 3017, 3033, 3034, 3006, 3007, 3008, 3009, 3010, 3011,
    3012, 3013, 3014, 3015, 3018, 3019, 3020, 3021, 3022, 3023, 3024, 3025, 3026, 3027, 3030, 3031, 3028, 3029,
    1269, 1268, 1408, 1491, 1445, 1446, 1745, 1977, 2008, 2009, 1992, 1993, 1933, 1543, 1858, 1859, 1272, 3032,
    3035, 3036, 3037, 1008, 1227, 3042, 1338, 1012, 1524, 1517, 1518, 1797, 1798, 1520, 1521, 1522, 1523, 1527,
    1528, 3002, 3003, 3004, 3005, 1553, 1541, 1542, 1545, 1546, 1547, 1548, 1549, 1550, 1822, 1823, 1824, 1825,
    1817, 1828, 1829, 1984, 1985, 1565, 1562, 1563, 1564, 1836, 1837, 1838, 1853, 1841, 1850, 1843, 1852, 1845,
    1851, 1847, 1849, 1591, 1587, 1588, 1630, 1636, 1637, 1641, 3047, 1601, 1500, 1598, 1599, 1594, 1595, 1596,
    1597, 1631, 1638, 1939, 1940, 1634, 1640, 1635, 1639, 1317, 1803, 2072, 1804, 1805, 1893, 1894, 2075, 1629,
    1607, 1603, 1604, 1812, 1814, 2073, 1868, 1834, 1869, 1870, 1816, 1879, 1883, 1884, 1880, 1881, 1882, 3048,
    1609, 1608, 1980, 1981, 1555, 1556, 1557, 1558, 1610, 1611, 1613, 1614, 1009, 1809, 1986, 1987, 1754, 2045,
    1752, 1753, 1994, 1995, 1861, 1862, 1866, 1864, 1865, 1936, 1934, 1935, 1937, 1998, 1999, 2000, 2001, 2002,
    2003, 2004, 2005, 2006, 2007, 2010, 1616, 1619, 1856, 1860, 1622, 1903, 1895, 1896, 1897, 1898, 1899, 1900,
    1901, 1902, 1904, 1905, 1914, 1931, 1906, 1907, 1908, 1909, 1910, 1911, 1912, 1913, 1267, 1651, 1022, 1015,
    1271, 1796, 1917, 1402, 1409, 1916, 1059, 1755, 1756, 1793, 1794, 1795, 1976, 1831, 1832, 1833, 1971, 1892,
    1889, 1890, 1891, 1014, -1,   2038, 1516, 2037, 1178, 1294, 1001, 1021, 1232, 1033, 1034, 1044, 1045, 1046,
    2041, 2042, 2044, 2043,
};

const ControlTemplate* FindControl(const DialogTemplate& t, int id) {
    for (const ControlTemplate& c : t.controls)
        if (c.id == id) return &c;
    return nullptr;
}

bool IsCombo(const ControlTemplate& c) {
    return c.kind == ControlKind::ComboDropDown || c.kind == ControlKind::ComboDropList;
}

int Frac(double f, int size) { return static_cast<int>(f * size); }

}  // namespace

void CMainTesterDlg::LayoutControls() {
    m_initialRect = GetWindowRect();
    const int W = m_initialRect.Width();
    const int H = m_initialRect.Height();
    m_functionTree.Move(Frac(0.02, W), Frac(0.04, H), Frac(0.15, W), Frac(0.85, H));
    PlaceEmbeddedPages();

    if (const DialogTemplate* t = FindDialogTemplate(TemplateId())) {
        for (int id : kLayoutOrder) {
            const ControlTemplate* c = id == -1 ? nullptr : FindControl(*t, id);
            if (!c && id != -1) continue;
            if (id == -1) {
                PageAreaFrame().Move(Frac(0.18, W), Frac(0.03, H), Frac(0.805, W), Frac(0.865, H));
                continue;
            }
            const int extra = IsCombo(*c) && id != 3012 ? 100 : 0;
            GetDlgItem(id).Move(Frac(c->x, W), Frac(c->y, H), Frac(c->w, W), Frac(c->h, H) + extra);
        }
    }

    m_initialRect = GetClientRect();
    const int cw = m_initialRect.Width();
    const int ch = m_initialRect.Height();
    GetDlgItem(1013).Move(Frac(0.45, cw), Frac(0.02, ch), Frac(0.12, cw), Frac(0.04, ch));
    m_receiveTabs.Move(Frac(0.19, cw), Frac(0.14, ch), Frac(0.80, cw), Frac(0.82, ch));

    const Rect tab = m_receiveTabs.GetClientRect();
    const int wt = tab.Width();
    const int ht = tab.Height();
    for (CReceptionPage* page : {static_cast<CReceptionPage*>(&m_macFramePage),
                                 static_cast<CReceptionPage*>(&m_netFramePage),
                                 static_cast<CReceptionPage*>(&m_appFramePage)}) {
        page->MoveWindow(Frac(0.01, wt), Frac(0.04, ht), Frac(0.98, wt), Frac(0.95, ht));
        page->m_list.Move(0, 0, Frac(0.98, wt), Frac(0.95, ht));
    }
}

Window CMainTesterDlg::PageAreaFrame() const {
    // The first plain-label group box of the template.
    if (const DialogTemplate* t = FindDialogTemplate(TemplateId())) {
        for (size_t i = 0; i < t->controls.size(); ++i) {
            if (t->controls[i].id == -1 && t->controls[i].kind == ControlKind::GroupBox)
                return GetTemplateControl(static_cast<int>(i));
        }
    }
    return Window();
}

void CMainTesterDlg::PlaceEmbeddedPages() {
    const int W = m_initialRect.Width();
    const int H = m_initialRect.Height();
    for (Dialog* page : {static_cast<Dialog*>(m_testPanel.get()), static_cast<Dialog*>(&m_smartHomePage)})
        page->MoveWindow(Frac(0.18, W), Frac(0.03, H), Frac(0.805, W), Frac(0.86, H));
}

void CMainTesterDlg::OnSize(int /*width*/, int /*height*/) {
    // The first size message comes before the controls are in place.
    if (m_firstSize) {
        m_firstSize = false;
        return;
    }
    LayoutControls();
}
