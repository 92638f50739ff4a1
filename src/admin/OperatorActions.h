#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "admin/AdminReport.h"

// What the operator does between candidates: put the last candidate's state aside and gather
// the answers of a room. Neither deletes or overwrites anything of the exam.
namespace examora::admin {

struct ActionResult {
  bool ok = false;
  QStringList lines;  // what was done, one line each
  QString error;      // why it stopped (when not ok)
};

// Moves the candidate's state of one part (partNumber 1 to 部数) or of all parts (0) into
// system\backup\<yyyymmdd-hhmmss>\ and clears the part state keys with the program's INI
// writes: a.csv, log.txt and cpu.txt of the part and its practice folder, and for all parts
// also shiken.ini when it holds a candidate (its 連携, the proctor's setting for the PC, is
// written back) and the installation's own logs. Each setup.ini whose keys change is copied there
// first. Refused, with nothing moved, while any part executable of the installation holds its lock;
// the locks are held until the reset is done, so no part can start in the middle of it.
ActionResult ResetInstallation(const QString& root, int partNumber, const QDateTime& now);

// Copies shiken.ini and every part's a.csv, log.txt and cpu.txt into
// destination\<会場コード>_<受験番号>\. Refused when that folder exists already; the copy is
// made in a hidden folder beside it and renamed at the end, so an interrupted copy never
// looks like a collected candidate.
ActionResult CollectAnswers(const QString& root, const QString& destination,
                            const Progress& progress = {});

}  // namespace examora::admin
