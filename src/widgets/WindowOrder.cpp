#include "widgets/WindowOrder.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
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

WindowId NativeWindowId(QWidget* window) {
  if (!window) return 0;
  const QWindow* handle = window->windowHandle();
  return static_cast<WindowId>(handle ? handle->winId() : window->winId());
}

void SetApplicationMainWindow(QWidget* window) {
  MainWindowSlot() = window;
}

QWidget* ApplicationMainWindow() {
  return MainWindowSlot().data();
}

void SetTopMost(QWidget* window, bool on) {
  if (!window) return;
  if (StaysOnTop(window) == on) return;
  if (window->isVisible() && window->windowHandle()) {
    // A shown window is told in place: setWindowFlag would re-create the native window,
    // which hides it, costs a round of requests to the window system (the full-screen
    // background window on every wizard start) and forgets its owner.
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    window->overrideWindowFlags(flags);
    window->windowHandle()->setFlags(flags);
    // As on Windows, a window made top-most comes to the top of the top-most ones.
    if (on) window->raise();
    return;
  }
  window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
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
  StackAbove(window, NearestVisibleOwner(window));
}

void StackAbove(QWidget* window, QWidget* owner) {
  if (!window || !owner) return;
  window->winId();
  owner->winId();
  if (window->windowHandle() && owner->windowHandle())
    window->windowHandle()->setTransientParent(owner->windowHandle());
}

void ShowAfterOwner(QWidget* window) {
  if (window) QTimer::singleShot(0, window, [window] { window->show(); });
}

namespace {

// Runs an action on a window each time (or the first time) another window is activated:
// window managers bring an activated window to the top and give it the keyboard, which may
// come well after the next turn of the event loop on a busy machine. Goes with the window.
class OnActivationOf : public QObject {
 public:
  OnActivationOf(QWidget* window, QWidget* other, bool once, void (*action)(QWidget*))
      : QObject(window), window_(window), once_(once), action_(action) {
    other->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowActivate) {
      if (window_->isVisible()) action_(window_);
      if (once_) {
        watched->removeEventFilter(this);
        deleteLater();
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
  bool once_;
  void (*action_)(QWidget*);
};

}  // namespace

void RaiseAfterOwner(QWidget* window) {
  if (!window) return;
  // Once the owner is mapped and activated it comes to the top, over a window raised before.
  // Told then again whose window it is, the window manager keeps it above the owner from there
  // on; raised at every activation of the owner where it does not.
  if (QWidget* owner = window->parentWidget()) {
    new OnActivationOf(window, owner->window(), true, [](QWidget* w) {
      if (QGuiApplication::platformName() == u"xcb" && w->parentWidget())
        RestateOwner(NativeWindowId(w), NativeWindowId(w->parentWidget()->window()));
    });
    new OnActivationOf(window, owner->window(), false, [](QWidget* w) { w->raise(); });
  }
  QTimer::singleShot(0, window, [window] {
    if (window->isVisible()) window->raise();
  });
}

void ActivateAfterFirstActivationOf(QWidget* window, QWidget* other) {
  if (!window || !other) return;
  if (other->isActiveWindow()) {
    window->activateWindow();
    return;
  }
  new OnActivationOf(window, other->window(), true, [](QWidget* w) {
    w->raise();
    w->activateWindow();
  });
}

}  // namespace examora
