#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "admin/AdminReport.h"

// The pre-exam check of an installation folder: every file the program reads, read with the
// program's own code, and every way it can keep a part from starting or running to its end.
namespace examora::admin {

struct CheckResult {
  QList<Problem> problems;  // each makes the check fail
  QStringList notes;        // worth knowing, not a fault of the folder (printed, exit 0)
};

// Checks the installation at root (which becomes the program's installation folder while it
// runs). progress gets one line per part and per page folder.
CheckResult CheckInstallation(const QString& root, const Progress& progress = {});

}  // namespace examora::admin
