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

QLabel* ColouredLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                      const QColor& colour) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFont(font);
  SetLabelColour(label, colour);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

void SetLabelColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

void FillBackground(QWidget* widget, const QColor& colour) {
  widget->setAutoFillBackground(true);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
}

}  // namespace examora
