#pragma once

#include <QLineEdit>

namespace examora {

// An edit box that takes only half-width digits: no sign, no separators, at most maxDigits.
class NumericEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit NumericEdit(int maxDigits, QWidget* parent = nullptr);

  // The number shown, or defaultValue when the box is empty.
  int Value(int defaultValue = 0) const;
  void SetValue(int value);
};

}  // namespace examora
