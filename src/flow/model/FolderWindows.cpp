#include "flow/model/FolderWindows.h"

#include "platform/TopLevelWindows.h"

namespace examora {

void CloseFolderWindows(WorkFolder folder) {
  for (const FolderWindowTitles& titles : WorkFolderWindowTitles(folder)) {
    (void)CloseFirstWindowTitled(titles.name.toStdString());
    (void)CloseFirstWindowTitled(titles.fullPath.toStdString());
  }
}

}  // namespace examora
