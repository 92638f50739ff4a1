#include "exam/model/Placement.h"

#include <algorithm>
#include <cmath>

namespace examora {
namespace {

int Scaled(int value, double ratio) {
  return static_cast<int>(std::lround(value / ratio));
}

}  // namespace

ScreenMetrics ScaleNativeMetrics(const NativeMetrics& native, double devicePixelRatio) {
  const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  ScreenMetrics m;
  m.cxScreen = Scaled(native.cxScreen, ratio);
  m.cyScreen = Scaled(native.cyScreen, ratio);
  m.cyCaption = Scaled(native.cyCaption, ratio);
  m.cyMaximized = Scaled(native.cyMaximized, ratio);
  m.cyFullScreen = Scaled(native.cyFullScreen, ratio);
  m.cxFrame = Scaled(native.cxFrame, ratio);
  m.cyFrame = Scaled(native.cyFrame, ratio);
  return m;
}

namespace {

constexpr int kStripHeight = 180;         // a strip is as high as its header
constexpr int kColumnHeaderHeight = 173;  // the header panel of a column
constexpr int kNarrowestColumn = 356;
constexpr int kGuardIntervalLimit = 10000;
constexpr int kGuardIntervalStep = 100;

bool IsStrip(const QString& code) {
  return code == u"1" || code == u"2";
}

bool IsColumn(const QString& code) {
  return code == u"3" || code == u"4";
}

bool AllZero(const QRect& r) {
  return r.x() == 0 && r.y() == 0 && r.width() == 0 && r.height() == 0;
}

}  // namespace

QRect ApplyPositionBounds(const QString& code, const ScreenMetrics& m, const QRect& current,
                          int columnMinTrackWidth, PlacementState& state) {
  if (IsStrip(code)) {
    state.currentPosition = code;
    state.headerAtTop = false;
    state.minTrackHeight = kStripHeight;
    state.minTrackWidth = 2 * m.cxFrame + state.headerWidth - 4;
  } else if (IsColumn(code)) {
    state.currentPosition = code;
    state.headerAtTop = true;
    state.minTrackHeight = 2 * m.cyFrame + kColumnHeaderHeight - 4;
    state.minTrackWidth = columnMinTrackWidth;
  }

  const int columnHeight = m.cyMaximized - m.cyCaption - 7;
  QRect bounds;
  if (code == u"1") {
    bounds = QRect(0, m.cyCaption, m.cxScreen + 4, state.minTrackHeight);
  } else if (code == u"2") {
    bounds =
        QRect(0, m.cyMaximized - state.minTrackHeight - 16, m.cxScreen + 4, state.minTrackHeight);
  } else if (code == u"3") {
    bounds = QRect(0, m.cyCaption, state.minTrackWidth, columnHeight);
    state.collapsed = false;
  } else if (code == u"4") {
    bounds =
        QRect(m.cxScreen - state.minTrackWidth, m.cyCaption, state.minTrackWidth, columnHeight);
    state.collapsed = false;
  } else if (code == u"6") {
    state.collapsedFrom = current.size();
    bounds = state.headerAtTop
                 ? QRect(current.topLeft(), QSize(current.width(), state.minTrackHeight))
                 : QRect(current.topLeft(), QSize(state.minTrackWidth, current.height()));
    state.collapsed = true;
  } else {
    // Restore. A window that was never collapsed has no size to go back to and keeps its own
    // rather than shrinking to nothing.
    bounds = current;
    if (state.headerAtTop) {
      if (state.collapsedFrom.height() > 0) bounds.setHeight(state.collapsedFrom.height());
    } else {
      if (state.collapsedFrom.width() > 0) bounds.setWidth(state.collapsedFrom.width());
    }
    if (code == u"7") state.collapsed = false;
  }

  if (state.restoreLayout) {
    // A saved layout without a size (nothing was saved, or its values were not numbers)
    // would leave no window to see; the computed layout stands in for it.
    if (state.savedLayout.width() > 0 && state.savedLayout.height() > 0) bounds = state.savedLayout;
    state.restoreLayout = false;
  }

  // The header panel of a column spans the window inside its sizing borders; a strip made
  // later keeps the header at that width.
  if (IsColumn(code)) state.headerWidth = bounds.width() - 2 * m.cxFrame;
  return bounds;
}

QRect InitialLayoutBounds(const QString& initialPosition, const ScreenMetrics& m,
                          const QRect& current, int columnMinTrackWidth, PlacementState& state) {
  const bool restore = state.restoreLayout;
  state.restoreLayout = false;
  QRect bounds = current;
  // A strip takes its header's width from the column, so the column is measured first.
  if (IsStrip(initialPosition))
    bounds = ApplyPositionBounds(QStringLiteral("4"), m, bounds, columnMinTrackWidth, state);
  state.restoreLayout = restore;
  bounds = ApplyPositionBounds(initialPosition, m, bounds, columnMinTrackWidth, state);
  if (AllZero(state.savedLayout)) state.savedLayout = bounds;
  return bounds;
}

QRect FirstPrintBounds(const QString& initialPosition, const ScreenMetrics& m, const QRect& current,
                       int columnMinTrackWidth, PlacementState& state) {
  state.restoreLayout = true;
  return ApplyPositionBounds(initialPosition, m, current, columnMinTrackWidth, state);
}

int ColumnMinTrackWidth(int modeRowWidth, int buttonRowWidth, int endBtnWidth, int layoutRowWidth,
                        int firstPrintWidth, int alignHiddenWidth, int alignHiddenLblWidth) {
  const int buttons = std::max(modeRowWidth, buttonRowWidth) + endBtnWidth + 26;
  const int layoutRow =
      layoutRowWidth + firstPrintWidth + alignHiddenWidth + alignHiddenLblWidth + 40;
  const int width = std::max(buttons, layoutRow);
  return width >= kNarrowestColumn ? width + 16 : kNarrowestColumn;
}

QPoint ClampMove(const QPoint& topLeft, const ScreenMetrics& m) {
  int left = topLeft.x();
  int top = topLeft.y();
  if (left < -252) left = -252;
  if (top < 0) top = 0;
  if (left > m.cxScreen - 252) left = m.cxScreen - 252;
  if (top > m.cyScreen - 140) top = m.cyScreen - 140;
  return {left, top};
}

QRect KnowledgeHoldBounds(const QRect& workArea) {
  return {QPoint(0, 0), workArea.size()};
}

int NextGuardInterval(int currentMs) {
  return currentMs < kGuardIntervalLimit ? currentMs + kGuardIntervalStep : currentMs;
}

}  // namespace examora
