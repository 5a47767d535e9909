#pragma once

#include "platform/dialog_template.h"
#include "resource_ids.h"

// Templates of the tool dialogs and pages; nullptr for other ids.
const DialogTemplate* FindToolDialogTemplate(int id);
