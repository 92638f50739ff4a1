#pragma once

#include <QByteArrayView>
#include <QString>

#include "common/WriteResult.h"

namespace examora {

// Replaces the file at absolutePath with bytes so that a crash or a power loss at any moment
// leaves either the old or the new file, never a truncated one: the bytes go to a temporary
// file in the same folder, which is flushed to disk and renamed over the target, and then the
// folder entry is flushed too.
//
// Never creates a missing folder. A target that is read-only fails (a rename would otherwise
// replace it on POSIX) and is left as it was, as is a target that is a folder. The new file
// keeps the old file's permissions. On failure the temporary file is removed and the error is
// the platform's own text.
[[nodiscard]] WriteResult WriteFileAtomically(const QString& absolutePath, QByteArrayView bytes);

}  // namespace examora
