#pragma once

#include <QString>

// The installation folder: every path the program reads or writes is built from it.

namespace examora {

// The folder of the running executable with "/" separators and no trailing separator. Set once
// at start-up by the program (SetExeFolder) from its own path; tests point it at a fixture.
QString ExeFolder();
void SetExeFolder(const QString& folder);

// ExeFolder() + "/" + the relative path, with "\" in the relative path taken as a separator.
QString ExePath(const QString& relativePath);

}  // namespace examora
