#pragma once

#include "data/InstallPaths.h"

namespace examora {

// Asks every file-manager window that shows the work folder or one of its sub-folders to
// close, in the order of WorkFolderWindowTitles. The file manager titles a window with the
// folder's name or its full path, depending on its settings, so both are tried; any other
// window that happens to carry such a title is asked as well. Nothing waits for the windows.
void CloseFolderWindows(WorkFolder folder);

}  // namespace examora
