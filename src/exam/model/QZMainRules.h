#pragma once

#include <QString>

#include "data/ExamData.h"
#include "exam/model/QuestionDisplay.h"

// Decisions of the knowledge exam window that need no widgets.
namespace examora {

struct ExamWindowTitles {
  QString caption;     // the window caption
  QString title1;      // ShikenTitle1Lbl
  QString title2;      // ShikenTitle2Lbl
  QString endCaption;  // EndBtn
};

// Titles from system.ini [基本情報] and the 部種名称 of the content folder; the practice run
// appends " 操作練習" and its end button reads "練習終了".
ExamWindowTitles ExamTitles(const SystemIni& system, const QString& partName, bool practice);

// Whether the set-up records the start of the exam day: only a real exam, and only the first
// window that finds shiken.ini 試験日 empty.
bool RecordsExamStartStamp(bool practice, const QString& storedExamDate);

// The value of 正常終了 a confirmed end records: "T" after the time ran out, "E" otherwise;
// nothing ("") in a debug run or a sample exam, whose ends leave the part open to run again.
QString NormalEndToRecord(bool timeOver, bool debugMode, bool sampleExam);

// The index of the ordinal-th top-level node of the tree (counted from 0), -1 when there are
// fewer: the confirmation's list line a candidate double-clicked.
int TopLevelNodeAt(const QuestionTree& tree, int ordinal);

// Why the window is asked to close.
enum class CloseReason {
  EndButton,    // EndBtn
  TimeOver,     // the clock's time-over end
  ForcedEnd,    // the clock's forced end
  SetupFailed,  // the set-up could not show the paper; the program ends
};

}  // namespace examora
