#pragma once

#include <QRect>
#include <QString>

#include "data/ExamData.h"

// Decisions of the answer-only window that need no window.
namespace examora {

// The caption and the three title lines of the answer-only window.
struct AnswerOnlyTitles {
  QString caption;  // 冊子名称 パターンパターン(バージョン) 部種名称
  QString title1;   // 試験名
  QString title2;  // 級名 + " " + パターン名 or パターン + "パターン", then (バージョン名)
  QString title3;  // 部種名称
};
AnswerOnlyTitles AnswerOnlyTitlesFor(const SystemIni& system, const QString& partName);

// Keeps the window reachable: its left edge between -150 and screen width - 150, its top
// between 0 and screen height - 140.
QPoint ClampAnswerOnlyPosition(QPoint topLeft, QSize screen);

}  // namespace examora
