#include "widgets/NumericEdit.h"

#include <QRegularExpressionValidator>

namespace examora {

NumericEdit::NumericEdit(int maxDigits, QWidget* parent) : QLineEdit(parent) {
  setMaxLength(maxDigits);
  setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(maxDigits)), this));
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setInputMethodHints(Qt::ImhDigitsOnly);
}

int NumericEdit::Value(int defaultValue) const {
  bool ok = false;
  const int v = text().toInt(&ok);
  return ok ? v : defaultValue;
}

void NumericEdit::SetValue(int value) {
  setText(QString::number(value));
}

}  // namespace examora
