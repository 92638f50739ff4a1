#pragma once

#include <QWidget>

// A see-through layer laid over the question page. It takes every mouse press, move and
// double click so that the candidate cannot select, drag or click anything on the page, while
// a click still hands the keyboard focus to the page and the wheel still scrolls it.
namespace examora {

class TransparentOverlay : public QWidget {
  Q_OBJECT

 public:
  // target receives the focus on a click; it is the widget under the overlay.
  explicit TransparentOverlay(QWidget* target, QWidget* parent);

  // Puts the overlay over its target (call after the target moved or resized), short of the
  // target's right and bottom edges by the given widths: the page's scroll bars stay free
  // for the mouse.
  void FitToTarget();
  void SetUncoveredEdges(int right, int bottom);

  // Scroll amount of one wheel notch, in pixels.
  static constexpr int kLinePixels = 40;

 signals:
  // One wheel notch: +1 up, -1 down (the page is scrolled by the receiver).
  void wheelLines(int lines);
  void pressed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QWidget* target_;
  int uncoveredRight_ = 0;
  int uncoveredBottom_ = 0;
};

// The vertical scroll a page makes for wheel notches (positive = up): one line per notch.
int OverlayScrollPixels(int lines);

}  // namespace examora
