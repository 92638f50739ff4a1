#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QFont;
class QLabel;
class QWidget;

// The plain labels and panels the screens are built from.
namespace examora {

// A label that shows its parent's background through, named after its design name. The
// geometry is applied when it is given.
QLabel* TransparentLabel(QWidget* parent, const QString& name, const QString& text = QString(),
                         QRect geometry = QRect());

// A label in the given font and text colour that lets mouse input through to what lies below
// (the title band of a window is dragged through its labels).
QLabel* ColouredLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                      const QColor& colour);
void SetLabelColour(QLabel* label, const QColor& colour);

// Fills the widget's background with one colour.
void FillBackground(QWidget* widget, const QColor& colour);

}  // namespace examora
