#pragma once

#include <QDateTime>
#include <QString>

// The run log of a part: one line per event, kept on disk line by line.

namespace examora {

// Appends "yyyy/mm/dd<TAB>hh:nn:ss.zzz<TAB><text>" + CR LF to system/<partCode>/<fileName>
// (system/<fileName> when partCode is empty). A new file starts with the header line and an
// empty line. Never creates a folder, never fails: a line that cannot be written is lost.
void WriteLog(const QString& text, const QString& partCode,
              const QString& fileName = QStringLiteral("log.txt"));
// The same with the time stamp given (the clock seam of the run log).
void WriteLog(const QString& text, const QString& partCode, const QString& fileName,
              const QDateTime& now);

// Opens a folder for the candidate in the file manager. Empty when that worked; otherwise the
// event to log ("フォルダーを開けません：<folder>：<reason>", e.g. no file-manager opener on
// the system), so that the proctor can tell why no folder came up. A folder that cannot be
// shown never holds the exam.
[[nodiscard]] QString OpenFolderForCandidate(const QString& folder);

}  // namespace examora
