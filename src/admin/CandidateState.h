#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Where the candidate of an installation stands: per part whether the exam window was opened,
// how the part ended, the minutes used, the answers recorded and the last log line.
namespace examora::admin {

struct PartState {
  int part = 0;
  QString name;            // 部種名称
  bool started = false;    // 試験開始 "1"
  QString ended;           // 正常終了 as stored: "", "E", "T" (anything else counts as ended)
  int elapsedMinutes = 0;  // [試験時間] now
  int limitMinutes = 0;    // all + add
  int answered = -1;       // non-empty answers in a.csv; -1 for a part without answers
  int questions = -1;      // sub-questions of the paper; -1 for a part without answers
  QString lastLog;         // last line of log.txt, "" when there is none
};

struct InstallationState {
  QString venueCode;        // shiken.ini 会場コード
  QString candidateNumber;  // 受験番号
  QString familyName;       // 姓
  QString givenName;        // 名
  QList<PartState> parts;   // 1 to 部数
};

InstallationState ReadInstallationState(const QString& root);

// One line for the candidate, one line per part.
QString StatusText(const InstallationState& state);
QByteArray StatusJson(const InstallationState& state);

}  // namespace examora::admin
