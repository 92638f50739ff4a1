#pragma once

#include <QString>
#include <QStringList>

// Paths and file lists in the installation's folders.

namespace examora {

// Appends "\" unless the path already ends with it; "" becomes "\".
void IncludeBackslash(QString& path);

// Adds the full paths of the non-empty, non-hidden files of folder matching mask to list
// (recursing into sub-folders when asked; clearing read-only and hidden attributes when asked),
// then sorts the list case-insensitively. A missing folder adds nothing.
void CollectFiles(const QString& folder, const QString& mask, QStringList& list, bool recurse,
                  bool clearAttributes);

// Number of sub-folders directly inside the folder (0 when it does not exist).
int CountSubfolders(const QString& folder);

}  // namespace examora
