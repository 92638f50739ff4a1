#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What a practical part submits: the files of the work folder "実技用" (any depth) that are not
// empty, not hidden, not supplied material named in update_check.ini, and were written after
// the exam started. The confirmation screen lists exactly these, so that what the candidate
// sees is what is graded.
namespace examora {

// The state shown for a file that cannot be read now (held open by another program, or any
// other failure to read its time).
inline const QString kSaveAndCloseState = QStringLiteral("ファイルを保存して閉じてください");

struct SubmissionFile {
  QString fullPath;      // "/" separators
  QString relativePath;  // to the work folder, "\" separators as the candidate knows them
  bool readable = false;
  bool heldOpen = false;  // another program holds it (a kind of !readable)
  QString lastWrite;      // "yyyy/mm/dd hh:nn:ss", local time, when readable
  QString error;          // the system's text when !readable

  // "site\css\style.css（更新日時：2024/05/01 10:12:33）" or
  // "report.docx（ファイルを保存して閉じてください）".
  QString Line() const;
};

// Where and against what to look: the work folder, the supplied files (relative paths with "/"
// separators, as update_check.ini gives them) and the exam start "yyyy/mm/dd hh:nn:ss" ("" when
// none was recorded).
struct SubmissionSource {
  QString workFolder;
  QStringList suppliedFiles;
  QString examStart;

  // The running installation: 実技用, system/<partCode>/update_check.ini, shiken.ini.
  static SubmissionSource Read(const QString& partCode);
};

// The work files that are not supplied material, probed, in the listing's sorted order (paths
// compared case-insensitively). No start-time rule: this is what the open-file check sees.
QList<SubmissionFile> ProbeWorkFiles(const SubmissionSource& source);

// The submission list: ProbeWorkFiles without the readable files written at or before the exam
// start (compared as "yyyy/mm/dd hh:nn:ss" texts: a file saved in the start second itself was
// not changed during the exam). Files that cannot be read are always listed.
QList<SubmissionFile> ListSubmissionFiles(const SubmissionSource& source);

// The open-file check's decision: the first work file that cannot be read, if any.
std::optional<SubmissionFile> FirstUnreadableWorkFile(const SubmissionSource& source);

// The message of the refused "はい" / "試験終了", naming the button the candidate pressed.
QString FileOpenMessage(bool timeOver);

// ---- Which text variant the practical view shows ------------------------------------------------

enum class SubmissionVariant {
  A,  // this part is a web-style exam (受験タイプ "3"): check boxes
  B,  // the exam has a compact practical part
  C,  // time-over
  D,  // otherwise
};

SubmissionVariant ChooseSubmissionVariant(const QString& examType, bool examHasCompactPractical,
                                          bool timeOver);

// True when a part 1 … 部数 of the running installation is practical (試験区分 "2") and worked in
// the compact window or a browser (受験タイプ "2" or "3").
bool ExamHasCompactPracticalPart();

// The two confirmation boxes must both be ticked only in a practical part of a web-style exam.
bool ConfirmationBoxesRequired(const QString& category, const QString& examType);

}  // namespace examora
