#pragma once

#include <QString>

namespace examora {

// Loads the page screens' module (see ExamWindows.h) by its file name: from the program's own
// folder first, where Windows keeps it and where a copy of the program may bring it, then
// where the system finds the program's libraries (the build or installation folder, which the
// program names in its RUNPATH). Returns an empty string, or why neither worked.
QString LoadPageModule(const QString& fileName);

}  // namespace examora
