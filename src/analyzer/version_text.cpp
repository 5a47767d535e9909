#include "analyzer/version_text.h"

#include <atomic>

namespace {
std::atomic<VersionTextTarget*> g_target{nullptr};
}

void SetVersionTextTarget(VersionTextTarget* target) { g_target.store(target); }

void ShowVersionText(const std::string& text) {
    if (VersionTextTarget* t = g_target.load()) t->SetVersionText(text);
}
