#include "widgets/ScreenMetrics.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include <cmath>

namespace examora {
namespace {

// Sizing border where the style does not say.
constexpr int kFallbackFrame = 4;

int Scaled(int value, double ratio) {
  return static_cast<int>(std::lround(value / ratio));
}

}  // namespace

ScreenMetrics ScaleNativeMetrics(const NativeMetrics& native, double devicePixelRatio) {
  const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  ScreenMetrics m;
  m.cxScreen = Scaled(native.cxScreen, ratio);
  m.cyScreen = Scaled(native.cyScreen, ratio);
  m.cyCaption = Scaled(native.cyCaption, ratio);
  m.cyMaximized = Scaled(native.cyMaximized, ratio);
  m.cxFrame = Scaled(native.cxFrame, ratio);
  m.cyFrame = Scaled(native.cyFrame, ratio);
  return m;
}

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
  return m;
}

}  // namespace examora
