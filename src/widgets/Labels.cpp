#include "widgets/Labels.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace examora {

QLabel* TransparentLabel(QWidget* parent, const QString& name, const QString& text,
                         QRect geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  if (geometry.isValid()) label->setGeometry(geometry);
  label->setStyleSheet(QStringLiteral("background: transparent;"));
  return label;
}

void FillBackground(QWidget* widget, const QColor& colour) {
  widget->setAutoFillBackground(true);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
}

}  // namespace examora
