#pragma once
// Deleting the files selected in a pane. Each file goes to the desktop's trash, so a confirmed
// deletion can still be undone there; only a file that no trash takes (a platform or volume
// without one) is deleted for good. A file that can be neither trashed nor deleted ends the
// deletions with the file-error report.

#include <string>
#include <vector>

#include "base/UserPrompt.h"

namespace slipway::pixmill {

struct DeletionResult {
    int trashed = 0;
    int deleted = 0;       // for good
    bool stopped = false;  // a file could not be removed; the later ones were left
};

DeletionResult removeFiles(const std::vector<std::string>& paths, UserPrompt& prompt);

}  // namespace slipway::pixmill
