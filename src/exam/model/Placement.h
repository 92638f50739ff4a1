#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include "platform/SystemMetrics.h"

// Where the exam window goes for each layout code, kept apart from the window so that every
// layout can be checked against a fixed screen. Bounds are the window's outer bounds (frame
// included), as the system's metrics count them.
//
// Layout codes: "1" strip along the top, "2" strip along the bottom, "3" column on the left,
// "4" column on the right (the default), "6" collapse to the header, "7" restore the size from
// before the collapse.
namespace examora {

// The system metrics of the primary screen the exam window lays itself out by, named after
// the values they stand for: SM_CXSCREEN, SM_CYSCREEN, SM_CYCAPTION, SM_CYMAXIMIZED,
// SM_CYFULLSCREEN, SM_CXFRAME, SM_CYFRAME.
struct ScreenMetrics {
  int cxScreen = 0;
  int cyScreen = 0;
  int cyCaption = 0;
  int cyMaximized = 0;
  int cyFullScreen = 0;
  int cxFrame = 0;
  int cyFrame = 0;
};

// The system counts physical pixels while the widgets count device-independent ones: the
// native values divided by the primary screen's device pixel ratio, rounded.
ScreenMetrics ScaleNativeMetrics(const NativeMetrics& native, double devicePixelRatio);

// The window fields the layout works on.
struct PlacementState {
  QString currentPosition;     // CurrentPosition: the last of "1" to "4" applied
  int minTrackWidth = 485;     // MinTrackWidth
  int minTrackHeight = 0;      // MinTrackHeight
  int headerWidth = 485;       // HeaderWidth: the header panel's width in a strip
  QSize collapsedFrom;         // CollapsedFrom: the size before the last collapse
  bool headerAtTop = true;     // the header panel stands at the top (column), else left (strip)
  QRect savedLayout;           // SavedLayout
  bool restoreLayout = false;  // RestoreLayout: apply savedLayout once instead
  bool collapsed = false;      // the question area is hidden (AlignHiddenBtn reads "表示")
};

// Steps 1-4 of ApplyPosition for a layout code: arranges the header (state), works out the
// bounds, applies savedLayout instead when restoreLayout is set (and clears it), and for a
// column takes the header width from the new bounds. current is the window's bounds now;
// columnMinTrackWidth the width the column's header rows need (ColumnMinTrackWidth).
QRect ApplyPositionBounds(const QString& code, const ScreenMetrics& m, const QRect& current,
                          int columnMinTrackWidth, PlacementState& state);

// The layout at set-up of a practical part: a strip is preceded by the right-hand column so
// that the header has been measured; a saved layout of zeros becomes the resulting bounds.
QRect InitialLayoutBounds(const QString& initialPosition, const ScreenMetrics& m,
                          const QRect& current, int columnMinTrackWidth, PlacementState& state);

// "初期表示": back to the layout the window started with (the saved layout, once more).
QRect FirstPrintBounds(const QString& initialPosition, const ScreenMetrics& m, const QRect& current,
                       int columnMinTrackWidth, PlacementState& state);

// The width a column needs for its header rows: the larger of the mode/button rows plus the
// end button (26 from the edge) and the layout row plus its right-hand controls; at least 356.
int ColumnMinTrackWidth(int modeRowWidth, int buttonRowWidth, int endBtnWidth, int layoutRowWidth,
                        int firstPrintWidth, int alignHiddenWidth, int alignHiddenLblWidth);

// A moved window keeps 252 pixels of its width and its top 140 pixels on the screen.
QPoint ClampMove(const QPoint& topLeft, const ScreenMetrics& m);

// Where a knowledge window is held whatever moves it: (0, 0) at the work area's size.
QRect KnowledgeHoldBounds(const QRect& workArea);

// The on-top guard backs off by 100 ms a tick up to 10 seconds.
int NextGuardInterval(int currentMs);

}  // namespace examora
