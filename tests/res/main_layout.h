#pragma once
// Shared data of the resource tests: the layout order of the main window and its lookups.

#include <set>

#include "platform/dialog_template.h"
#include "res/resources.h"

// Controls that the layout moves, in its order; -1 is the frame of the page area.
inline const int kLayoutOrder[] = {
    3049, 3050, 3052, 3053, 3054, 3055, 3056, 3057, 3016, 3017, 3033, 3034, 3006, 3007, 3008, 3009,
    3010, 3011, 3012, 3013, 3014, 3015, 3018, 3019, 3020, 3021, 3022, 3023, 3024, 3025, 3026, 3027,
    3030, 3031, 3028, 3029, 1269, 1268, 1408, 1491, 1445, 1446, 1745, 1977, 2008, 2009, 1992, 1993,
    1933, 1543, 1858, 1859, 1272, 3032, 3035, 3036, 3037, 1008, 1227, 3042, 1338, 1012, 1524, 1517,
    1518, 1797, 1798, 1520, 1521, 1522, 1523, 1527, 1528, 3002, 3003, 3004, 3005, 1553, 1541, 1542,
    1545, 1546, 1547, 1548, 1549, 1550, 1822, 1823, 1824, 1825, 1817, 1828, 1829, 1984, 1985, 1565,
    1562, 1563, 1564, 1836, 1837, 1838, 1853, 1841, 1850, 1843, 1852, 1845, 1851, 1847, 1849, 1591,
    1587, 1588, 1630, 1636, 1637, 1641, 3047, 1601, 1500, 1598, 1599, 1594, 1595, 1596, 1597, 1631,
    1638, 1939, 1940, 1634, 1640, 1635, 1639, 1317, 1803, 2072, 1804, 1805, 1893, 1894, 2075, 1629,
    1607, 1603, 1604, 1812, 1814, 2073, 1868, 1834, 1869, 1870, 1816, 1879, 1883, 1884, 1880, 1881,
    1882, 3048, 1609, 1608, 1980, 1981, 1555, 1556, 1557, 1558, 1610, 1611, 1613, 1614, 1009, 1809,
    1986, 1987, 1754, 2045, 1752, 1753, 1994, 1995, 1861, 1862, 1866, 1864, 1865, 1936, 1934, 1935,
    1937, 1998, 1999, 2000, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2010, 1616, 1619, 1856, 1860,
    1622, 1903, 1895, 1896, 1897, 1898, 1899, 1900, 1901, 1902, 1904, 1905, 1914, 1931, 1906, 1907,
    1908, 1909, 1910, 1911, 1912, 1913, 1267, 1651, 1022, 1015, 1271, 1796, 1917, 1402, 1409, 1916,
    1059, 1755, 1756, 1793, 1794, 1795, 1976, 1831, 1832, 1833, 1971, 1892, 1889, 1890, 1891, 1014,
    -1, 2038, 1516, 2037, 1178, 1294, 1001, 1021, 1232, 1033, 1034, 1044, 1045, 1046, 2041, 2042,
    2044, 2043,
};
constexpr int kLayoutCount = static_cast<int>(sizeof(kLayoutOrder) / sizeof(kLayoutOrder[0]));

// Controls of the main window that belong to no page.
inline const std::set<int> kAlwaysVisible = {1265, 1001, 1021, 1232, 1033, 1034, 1044, 1045,
                                             1046, 1227, 3042, 1338, 1013, -1};

inline const DialogTemplate& MainTemplate() {
    RegisterResources();
    static const DialogTemplate empty{};
    const DialogTemplate* t = FindDialogTemplate(102);
    return t ? *t : empty;
}

// The first control with that id, or nullptr.
inline const ControlTemplate* FindControl(const DialogTemplate& t, int id) {
    for (const ControlTemplate& c : t.controls) {
        if (c.id == id) return &c;
    }
    return nullptr;
}
