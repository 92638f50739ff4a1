#include "widgets/WindowOrder.h"

#include <QPointer>
#include <QWidget>

namespace examora {
namespace {

QPointer<QWidget>& MainWindowSlot() {
  static QPointer<QWidget> window;
  return window;
}

}  // namespace

void SetApplicationMainWindow(QWidget* window) {
  MainWindowSlot() = window;
}

QWidget* ApplicationMainWindow() {
  return MainWindowSlot().data();
}

void SetTopMost(QWidget* window, bool on) {
  if (!window) return;
  if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
  const bool visible = window->isVisible();
  const QRect geometry = window->geometry();
  // Changing the flag re-creates the native window, which hides it; show it again in place.
  window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (visible) {
    window->setGeometry(geometry);
    window->show();
  }
}

}  // namespace examora
