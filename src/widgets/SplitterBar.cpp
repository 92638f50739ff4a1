#include "widgets/SplitterBar.h"

#include <QMouseEvent>

namespace examora {

SplitterBar::SplitterBar(QWidget* parent) : QWidget(parent) {
  setCursor(Qt::SplitHCursor);
  setFocusPolicy(Qt::NoFocus);
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  grabX_ = qRound(event->position().x());
  event->accept();
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
  if (grabX_ < 0) return QWidget::mouseMoveEvent(event);
  const QPoint inParent = mapToParent(event->position().toPoint());
  emit dragged(inParent.x() - grabX_);
  event->accept();
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || grabX_ < 0) return QWidget::mouseReleaseEvent(event);
  grabX_ = -1;
  event->accept();
  emit moved();
}

}  // namespace examora
