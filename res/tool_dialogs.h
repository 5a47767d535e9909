#pragma once

#include "platform/dialog_template.h"
#include "resource_ids.h"

// Templates of the tool dialogs and pages; nullptr for other ids.
const DialogTemplate* FindToolDialogTemplate(int id);
// Templates of the dialogs that nothing opens yet; nullptr for other ids.
const DialogTemplate* FindDormantDialogTemplate(int id);
