#include "widgets/ScreenMetrics.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

namespace examora {
namespace {

// Sizing border where the style does not say.
constexpr int kFallbackFrame = 4;

}  // namespace

ScreenMetrics CurrentScreenMetrics() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (const std::optional<NativeMetrics> native = NativeSystemMetrics())
    return ScaleNativeMetrics(*native, screen ? screen->devicePixelRatio() : 1.0);

  ScreenMetrics m;
  if (screen) {
    m.cxScreen = screen->geometry().width();
    m.cyScreen = screen->geometry().height();
    m.cyMaximized = screen->availableGeometry().height();
  }
  m.cxFrame = kFallbackFrame;
  m.cyFrame = kFallbackFrame;
  if (qobject_cast<QApplication*>(QCoreApplication::instance()))
    m.cyCaption = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
  // The client area of a full-screen window: the work area less a title bar.
  m.cyFullScreen = m.cyMaximized - m.cyCaption;
  return m;
}

}  // namespace examora
