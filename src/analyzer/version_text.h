#pragma once
// Where an explained version reply shows its version: the main window's version label.

#include <string>

class VersionTextTarget {
public:
    virtual ~VersionTextTarget() = default;
    virtual void SetVersionText(std::string text) = 0;
};

// The main window registers itself; nullptr unregisters.
void SetVersionTextTarget(VersionTextTarget* target);

// Passes the text to the registered target, if any.
void ShowVersionText(const std::string& text);
