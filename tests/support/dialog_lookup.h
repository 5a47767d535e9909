#pragma once
// The one dialog of a class over or inside a window (not inside another of its dialogs), found
// by the platform's own lookup.

#include <cstdio>
#include <cstdlib>
#include <set>
#include <typeinfo>
#include <vector>

#include "platform/ui.h"

namespace testsupport {

// Those of its dialogs that lie in no other of them.
inline std::vector<Dialog*> OwnDialogs(const Dialog& window) {
    const std::vector<Dialog*> all = DialogsWithin(window.GetWindow());
    std::set<Dialog*> nested;
    for (Dialog* d : all)
        for (Dialog* inner : DialogsWithin(d->GetWindow())) nested.insert(inner);
    std::vector<Dialog*> own;
    for (Dialog* d : all)
        if (!nested.count(d)) own.push_back(d);
    return own;
}

template <class T>
T& Within(const Dialog& window) {
    T* found = nullptr;
    int count = 0;
    for (Dialog* d : OwnDialogs(window)) {
        if (T* t = dynamic_cast<T*>(d)) {
            found = t;
            ++count;
        }
    }
    if (count != 1) {
        std::fprintf(stderr, "%d dialogs of %s within the window, not one\n", count, typeid(T).name());
        std::abort();
    }
    return *found;
}

}  // namespace testsupport
