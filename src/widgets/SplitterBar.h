#pragma once

#include <QWidget>

// A thin vertical bar between two panes that the candidate drags sideways. It moves nothing
// itself: the owner turns the drag into pane widths and lays the panes out again.
namespace examora {

class SplitterBar : public QWidget {
  Q_OBJECT

 public:
  explicit SplitterBar(QWidget* parent);

  static constexpr int kWidth = 3;

 signals:
  // While the button is held: the bar's wanted left edge, in its parent's coordinates.
  void dragged(int left);
  // The drag has ended.
  void moved();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int grabX_ = -1;  // where in the bar the drag took it; -1 while not dragged
};

}  // namespace examora
