#pragma once

#include <QString>

#include "common/WriteResult.h"

// INI values by installation-relative path ("system\\shiken.ini"); "\\" and "/" both separate.

namespace examora {

// The value of key in section of the INI file at the relative path; "" when the file, the
// section or the key is missing. Never fails.
QString ReadIni(const QString& relativePath, const QString& section, const QString& key);

// Writes key=value into section, atomically; retried up to 10 times 100 ms apart before the
// failure is returned.
WriteResult WriteIni(const QString& relativePath, const QString& section, const QString& key,
                     const QString& value);

}  // namespace examora
