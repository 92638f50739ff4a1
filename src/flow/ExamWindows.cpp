#include "flow/ExamWindows.h"

#include <QHash>

namespace examora {
namespace {

QHash<QString, ScreenRunner>& Runners() {
  static QHash<QString, ScreenRunner> runners;
  return runners;
}

}  // namespace

void RegisterScreenRunner(const QString& className, ScreenRunner runner) {
  Runners().insert(className, std::move(runner));
}

void UnregisterScreenRunner(const QString& className) {
  Runners().remove(className);
}

const ScreenRunner* FindScreenRunner(const QString& className) {
  const auto it = Runners().constFind(className);
  return it == Runners().constEnd() ? nullptr : &it.value();
}

}  // namespace examora
