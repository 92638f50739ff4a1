#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <functional>
#include <memory>

#include "ModalDriver.h"

// Walking a part the way a candidate does: each step waits for a screen of a class to become
// the active modal window and acts on it from inside its modal loop.
namespace examora::test {

inline ModalMatch IsScreen(const char* className) {
  return [className](QWidget* w) { return w && w->inherits(className); };
}

template <typename T = QWidget>
T* Control(QWidget* screen, const char* name) {
  return screen->findChild<T*>(QString::fromLatin1(name));
}

inline void Click(QWidget* screen, const char* button) {
  if (auto* b = Control<QAbstractButton>(screen, button)) b->click();
}

// Fills the candidate information screen with valid details.
inline void FillCandidate(QWidget* screen) {
  Control<QLineEdit>(screen, "KaiCdEdt")->setText(QStringLiteral("01234"));
  Control<QLineEdit>(screen, "JuBanEdt")->setText(QStringLiteral("1001"));
  Control<QLineEdit>(screen, "SeiEdt")->setText(QStringLiteral("山田"));
  Control<QLineEdit>(screen, "MeiEdt")->setText(QStringLiteral("花子"));
  Control<QComboBox>(screen, "YearCmb")->setCurrentIndex(20);
  Control<QComboBox>(screen, "MonthCmb")->setCurrentIndex(3);
  Control<QComboBox>(screen, "DayCmb")->setCurrentIndex(9);
  Control<QRadioButton>(screen, "WomanRdo")->setChecked(true);
}

}  // namespace examora::test
