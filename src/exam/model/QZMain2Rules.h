#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

#include "data/ExamData.h"
#include "exam/model/Placement.h"

// Decisions of the compact practical window that need no widgets: its texts, where it opens,
// how far it may be moved, and the text the task bar shows for it.
namespace examora {

struct CompactWindowTitles {
  QString title1;      // ShikenTitle1Lbl: the booklet
  QString title2;      // ShikenTitle2Lbl: pattern, version and part
  QString supplement;  // HosokuLbl
  QString endCaption;  // EndBtn
};

// Web-style parts (受験タイプ "3") name the pattern first and the version in brackets; the other
// practical parts name the part first, and their practice says so and ends with "練習終了".
CompactWindowTitles CompactTitles(const SystemIni& system, const QString& partName,
                                  const QString& supplement, const QString& examType,
                                  bool practice);

// The window's size when nothing else is known.
inline constexpr int kCompactWidth = 433;
inline constexpr int kCompactHeight = 61;
inline constexpr int kCompactWebHeight = 76;

// Where the window opens: the layout saved in the practice when restoreLayout is set (and it
// is a rectangle); a
// web-style part at the right edge just above the task bar; any other part at the top left,
// below where a title bar would be.
QRect CompactInitialBounds(const QString& examType, bool restoreLayout, const QRect& savedLayout,
                           const ScreenMetrics& m);

// The strip grows so that its title lines can be read whole: to `textWidth` pixels of text
// beside what the clock and the buttons take (`reserved`), up to the form's design width of
// 644 and the screen's width, never narrower than `bounds`. What would leave the screen on the
// right grows to the left instead (a web-style part's strip keeps to the right edge).
QRect WidenCompactForTitles(const QRect& bounds, int textWidth, int reserved, int screenWidth);

// A moved window keeps 252 pixels of its width and its top 60 pixels on the screen.
QPoint ClampCompactMove(const QPoint& topLeft, const ScreenMetrics& m);

// The task bar text: the elapsed time while the window is minimised (the candidate still sees
// the clock), the program's name otherwise.
QString CompactApplicationTitle(bool minimised, const QString& clockText);

}  // namespace examora
