#pragma once

#include <QDateTime>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include "common/WriteResult.h"

// Common routines every screen uses. Paths named "relative" are relative to the installation
// folder (the folder of the running executable) and may use "\" or "/" as separators.
namespace examora {

// ---- Installation folder -------------------------------------------------------------------

// The folder of the running executable with "/" separators and no trailing separator. Set once
// at start-up by the program (SetExeFolder) from its own path; tests point it at a fixture.
QString ExeFolder();
void SetExeFolder(const QString& folder);

// ExeFolder() + "/" + the relative path, with "\" in the relative path taken as a separator.
QString ExePath(const QString& relativePath);

// ---- INI access ----------------------------------------------------------------------------

// The value of key in section of the INI file at the relative path; "" when the file, the
// section or the key is missing. Never fails.
QString ReadIni(const QString& relativePath, const QString& section, const QString& key);

// Writes key=value into section, atomically; retried up to 10 times 100 ms apart before the
// failure is returned.
WriteResult WriteIni(const QString& relativePath, const QString& section, const QString& key,
                     const QString& value);

// ---- Run log -------------------------------------------------------------------------------

// Appends "yyyy/mm/dd<TAB>hh:nn:ss.zzz<TAB><text>" + CR LF to system/<partCode>/<fileName>
// (system/<fileName> when partCode is empty). A new file starts with the header line and an
// empty line. Never creates a folder, never fails: a line that cannot be written is lost.
void WriteLog(const QString& text, const QString& partCode,
              const QString& fileName = QStringLiteral("log.txt"));
// The same with the time stamp given (the clock seam of the run log).
void WriteLog(const QString& text, const QString& partCode, const QString& fileName,
              const QDateTime& now);

// ---- Dates and numbers ---------------------------------------------------------------------

bool IsValidDateText(const QString& text);             // "yyyy/mm/dd" and a real calendar date
QString LastDayOfMonthText(const QString& yearMonth);  // "yyyy/mm" -> "yyyy/mm/dd" or "0000/00/00"
QString PadDigits(const QString& text, int width);     // the text's ASCII digits, zero-padded
double TruncateDecimals(int decimals, double x);       // cut towards zero to n decimals
double RoundHalfUp(int decimals, double x);            // halves away from zero
int RoundHalfEven(double x);                           // nearest integer, halves to even

// Top-left corner that centres a window of the given (frame) size on the screen rectangle;
// halves of a pixel round to even.
QPoint CenteredTopLeft(const QRect& screen, const QSize& window);

// ---- Paths and files -----------------------------------------------------------------------

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
