#include "widgets/WindowOrder.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>

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

// Runs an action on a window when an event of a kind reaches a watched object, each time or
// until the action reports it has done its work. Goes with the window.
class OnEvent : public QObject {
 public:
  using Action = std::function<bool(QWidget* window)>;  // true: done, when watching once
  OnEvent(QWidget* window, QObject* watched, QEvent::Type type, bool once, Action action)
      : QObject(window), window_(window), type_(type), once_(once), action_(action) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != type_) return QObject::eventFilter(watched, event);
    // A window gone from the screen by then needs nothing any more.
    const bool done = !window_->isVisible() || action_(window_);
    if (done && once_) {
      watched->removeEventFilter(this);
      deleteLater();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
  QEvent::Type type_;
  bool once_;
  Action action_;
};

// Tells the window system the window's flags as the widget has them, and brings a window made
// top-most to the top of the top-most ones, as Windows does.
void ApplyFlags(QWidget* window) {
  window->windowHandle()->setFlags(window->windowFlags());
  if (StaysOnTop(window)) window->raise();
}

// Runs then on the window once it is on the screen, after the expose that put it there has
// been handled: the window manager has mapped the window's frame by then. Nothing happens if
// the window is hidden by then.
void OnceOnScreen(QWidget* window, void (*then)(QWidget* window)) {
  window->winId();
  if (!window->windowHandle()) return;
  new OnEvent(window, window->windowHandle(), QEvent::Expose, true, [then](QWidget* w) {
    if (!w->windowHandle()->isExposed()) return false;
    QTimer::singleShot(0, w, [w, then] {
      if (w->isVisible()) then(w);
    });
    return true;
  });
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
    if (!window->windowHandle()->isVisible()) {
      // Being shown (its show handler runs before the window system maps it): on X11 a
      // native window whose flags change then is never painted again after its first
      // frame. The window system is told once the window is on the screen.
      OnceOnScreen(window, [](QWidget* w) {
        if (w->windowHandle()->flags() != w->windowFlags()) ApplyFlags(w);
      });
      return;
    }
    ApplyFlags(window);
    return;
  }
  window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
}

void RaiseAboveTopMost(QWidget* window) {
  if (!window) return;
  SetTopMost(window, true);
  const QWindow* handle = window->windowHandle();
  if (!window->isVisible() || !handle || !handle->isExposed()) return;
  // Qt's raise() only queues a request, which may wait in the toolkit's connection for other
  // traffic; and a window manager weighs a client's own raise of its window. The platform
  // asks the window manager directly and sends the request at once.
  const QString platform = QGuiApplication::platformName();
  if (platform == u"offscreen" || platform == u"minimal" || !BringToTop(NativeWindowId(window)))
    window->raise();
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

namespace {

// Writes the window's owner for the window manager again, once the window is on the screen.
// Qt on X11 writes it only for dialogs, and only as the owner's native window is at that
// moment; Windows ties an owned window to its owner when it is created.
bool TellOwnerOnceExposed(QWidget* window) {
  const QWindow* handle = window->windowHandle();
  if (!handle || !handle->isExposed()) return false;
  const QWindow* owner = handle->transientParent();
  if (owner && QGuiApplication::platformName() == u"xcb")
    RestateOwner(static_cast<WindowId>(handle->winId()), static_cast<WindowId>(owner->winId()));
  return true;
}

}  // namespace

void StackAbove(QWidget* window, QWidget* owner) {
  if (!window || !owner) return;
  window->winId();
  owner->winId();
  if (!window->windowHandle() || !owner->windowHandle()) return;
  window->windowHandle()->setTransientParent(owner->windowHandle());
  // Dialogs are tied by Qt itself; a window of its own (the sample viewer) is not.
  if (window->windowType() == Qt::Window)
    new OnEvent(window, window->windowHandle(), QEvent::Expose, true, TellOwnerOnceExposed);
}

void ShowAfterOwner(QWidget* window) {
  if (window) QTimer::singleShot(0, window, [window] { window->show(); });
}

void RaiseAfterOwner(QWidget* window) {
  if (!window) return;
  // Window managers bring an activated window to the top, which may come well after the next
  // turn of the event loop on a busy machine. Once the owner is on the screen and activated,
  // the window is told again whose window it is (it was shown before the owner's native window
  // was final), and it is raised at every activation of the owner where that does not hold.
  if (QWidget* owner = window->parentWidget()) {
    new OnEvent(window, owner->window(), QEvent::WindowActivate, true, TellOwnerOnceExposed);
    new OnEvent(window, owner->window(), QEvent::WindowActivate, false, [](QWidget* w) {
      w->raise();
      return true;
    });
  }
  QTimer::singleShot(0, window, [window] {
    if (window->isVisible()) window->raise();
  });
}

void ForegroundOnceShown(QWidget* window) {
  if (!window) return;
  OnceOnScreen(window, [](QWidget* w) {
    (void)ForceForeground(NativeWindowId(w), ForegroundAttach::Always);
    w->activateWindow();
  });
}

void ActivateAfterFirstActivationOf(QWidget* window, QWidget* other) {
  if (!window || !other) return;
  if (other->isActiveWindow()) {
    window->activateWindow();
    return;
  }
  new OnEvent(window, other->window(), QEvent::WindowActivate, true, [](QWidget* w) {
    w->raise();
    w->activateWindow();
    return true;
  });
}

void CloseOwnedWindows(QWidget* owner) {
  if (!owner) return;
  QList<QPointer<QWidget>> owned;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window == owner || !window->isVisible()) continue;
    bool ours = false;
    ForEachOwner(window, [&](const QWidget* o) {
      ours = o == owner;
      return ours;
    });
    if (ours) owned << window;
  }
  for (const QPointer<QWidget>& window : owned) {
    if (!window) continue;
    // 2, "closed or cancelled", as every screen of ours reports it.
    if (auto* dialog = qobject_cast<QDialog*>(window.data()))
      dialog->done(2);
    else
      window->close();
  }
}

}  // namespace examora
