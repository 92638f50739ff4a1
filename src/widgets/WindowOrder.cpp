#include "widgets/WindowOrder.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace examora {
namespace {

QPointer<QWidget>& MainWindowSlot() {
  static QPointer<QWidget> window;
  return window;
}

bool StaysOnTop(const QWidget* window) {
  return window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

// The owners of a window, nearest first (each owner's own window, then its owner, ...).
template <class Visit>
void ForEachOwner(const QWidget* window, Visit visit) {
  for (const QWidget* w = window->parentWidget(); w; w = w->window()->parentWidget()) {
    if (visit(w->window())) return;
  }
}

QWidget* NearestVisibleOwner(const QWidget* window) {
  QWidget* found = nullptr;
  ForEachOwner(window, [&](const QWidget* owner) {
    if (owner->isVisible()) found = const_cast<QWidget*>(owner);
    return found != nullptr;
  });
  QWidget* main = ApplicationMainWindow();
  if (!found && main && main != window && main->isVisible()) found = main;
  return found;
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

bool OwnersStayOnTop(const QWidget* window) {
  if (!window) return false;
  bool onTop = false;
  ForEachOwner(window, [&](const QWidget* owner) {
    onTop = owner->isVisible() && StaysOnTop(owner);
    return onTop;
  });
  const QWidget* main = ApplicationMainWindow();
  return onTop || (main && main != window && main->isVisible() && StaysOnTop(main));
}

void StackAboveOwners(QWidget* window) {
  if (!window || window->isVisible()) return;
  // The flag first: changing it may re-create the native window, which forgets its owner.
  if (!StaysOnTop(window) && OwnersStayOnTop(window))
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  QWidget* owner = NearestVisibleOwner(window);
  if (!owner) return;
  window->winId();
  owner->winId();
  if (window->windowHandle() && owner->windowHandle())
    window->windowHandle()->setTransientParent(owner->windowHandle());
}

}  // namespace examora
