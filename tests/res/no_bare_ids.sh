#!/bin/sh
# Fails when code of the window layers reaches a control or a message-map entry by a bare
# number instead of its name from res/resource_ids.h.
# Usage: no_bare_ids.sh <source root>
root=${1:-.}
found=$(grep -rnE --include='*.cpp' --include='*.h' \
    '(GetDlgItem|GetDlgItemText|SetDlgItemText|CheckDlgButton|IsDlgButtonChecked|MapCommand)\([[:space:]]*[0-9]{3,4}\b' \
    "$root/src/app" "$root/src/commands" "$root/src/dialogs")
if [ -n "$found" ]; then
    echo "control ids given as numbers; use the names of res/resource_ids.h:"
    echo "$found"
    exit 1
fi
