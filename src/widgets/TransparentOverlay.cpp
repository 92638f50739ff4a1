#include "widgets/TransparentOverlay.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace examora {

TransparentOverlay::TransparentOverlay(QWidget* target, QWidget* parent)
    : QWidget(parent), target_(target) {
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_TranslucentBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  FitToTarget();
}

void TransparentOverlay::FitToTarget() {
  if (!target_) return;
  const QPoint topLeft =
      parentWidget() ? target_->mapTo(parentWidget(), QPoint(0, 0)) : target_->pos();
  const QSize size(qMax(0, target_->width() - uncoveredRight_),
                   qMax(0, target_->height() - uncoveredBottom_));
  setGeometry(QRect(topLeft, size));
  setVisible(target_->isVisible());
  raise();
}

void TransparentOverlay::SetUncoveredEdges(int right, int bottom) {
  uncoveredRight_ = qMax(0, right);
  uncoveredBottom_ = qMax(0, bottom);
  FitToTarget();
}

void TransparentOverlay::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton && target_) {
    // The page gets the keyboard focus (arrow keys and page keys scroll it), never the click.
    QWidget* focusTarget = target_->focusProxy() ? target_->focusProxy() : target_;
    focusTarget->setFocus(Qt::MouseFocusReason);
    emit pressed();
  }
}

void TransparentOverlay::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
}
void TransparentOverlay::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
}
void TransparentOverlay::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
}
void TransparentOverlay::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
}

void TransparentOverlay::wheelEvent(QWheelEvent* event) {
  event->accept();
  const int delta = event->angleDelta().y();
  if (delta == 0) return;
  // One line per wheel message, whatever the size of the turn.
  emit wheelLines(delta > 0 ? 1 : -1);
}

int OverlayScrollPixels(int lines) {
  return -lines * TransparentOverlay::kLinePixels;
}

}  // namespace examora
