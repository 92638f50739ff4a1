#include "widgets/RoundButton.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "widgets/Fonts.h"

namespace examora {

RoundButton::RoundButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setFont(UiFont(FontFace::MsPGothic, 12, true));
  setCursor(Qt::PointingHandCursor);
  setAutoDefault(false);
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QPushButton::clicked, this, [this] {
    if (modalResult_ == 0) return;
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
      if (auto* dialog = qobject_cast<QDialog*>(w)) {
        dialog->done(modalResult_);
        return;
      }
    }
  });
}

void RoundButton::keyPressEvent(QKeyEvent* event) {
  // Return presses the button that has the focus, as Space does, and as a focused button does
  // on Windows. The buttons are not the dialogs' auto-default buttons: Return in a screen's
  // input fields is the screen's own. A held key presses once, so that it cannot run through
  // the chain of screens each press opens.
  const int key = event->key();
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    if (!event->isAutoRepeat() && isEnabled()) click();
    event->accept();
    return;
  }
  QPushButton::keyPressEvent(event);
}

void RoundButton::SetColours(QColor top, QColor bottom) {
  top_ = top;
  bottom_ = bottom;
  update();
}

void RoundButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  const bool on = isEnabled();
  g.setColorAt(0, on ? top_ : GreyTop());
  g.setColorAt(1, on ? bottom_ : GreyBottom());
  QPainterPath path;
  path.addRoundedRect(r, 5, 5);
  p.fillPath(path, g);
  if (isDown()) p.fillPath(path, QColor(0, 0, 0, 40));
  if (hasFocus()) {
    p.setPen(QPen(QColor(255, 255, 255, 160), 1, Qt::DotLine));
    p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 4, 4);
  }
  p.setPen(Qt::white);
  p.setFont(font());
  p.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace examora
