#include "flow/ExamWindows.h"

#include <QHash>

#include "flow/ScreenFrame.h"

namespace examora {
namespace {

QHash<QString, ScreenRunner>& Runners() {
  static QHash<QString, ScreenRunner> runners;
  return runners;
}

struct PageScreens {
  PageScreenRegistrar registrar = nullptr;
  PageModuleLoader loader;
  NotesScreenFactory notes;
  bool asked = false;  // the module was loaded (or tried to be)
  QString loadError;   // why the module could not be loaded
};

PageScreens& Pages() {
  static PageScreens pages;
  return pages;
}

// Once per process, when a page screen is first missed: loads the module, whose code hands
// over the notes and the registrar of the rest. Without a loader (the page screens linked
// in, or not part of this build) nothing changes: a miss stays a miss.
void LoadPageModuleOnce() {
  PageScreens& pages = Pages();
  if (pages.asked || !pages.loader) return;
  pages.asked = true;
  pages.loadError = pages.loader();
  if (pages.loadError.isEmpty() && !pages.registrar)
    pages.loadError = QStringLiteral("the module did not hand over its screens");
  if (pages.registrar) pages.registrar();
}

}  // namespace

void RegisterScreenRunner(const QString& className, ScreenRunner runner) {
  Runners().insert(className, std::move(runner));
}

void UnregisterScreenRunner(const QString& className) {
  Runners().remove(className);
}

const ScreenRunner* FindScreenRunner(const QString& className) {
  if (!Runners().contains(className)) LoadPageModuleOnce();
  const auto it = Runners().constFind(className);
  return it == Runners().constEnd() ? nullptr : &it.value();
}

void RegisterNotesScreen(NotesScreenFactory factory) {
  Pages().notes = std::move(factory);
}

std::unique_ptr<ScreenFrame> CreateNotesScreen(QWidget* owner, bool fromExamWindow,
                                               QString* error) {
  if (!Pages().notes) LoadPageModuleOnce();
  if (Pages().notes) return Pages().notes(owner, fromExamWindow);
  if (error) {
    *error = Pages().loadError.isEmpty()
                 ? QStringLiteral("the notes screen is not part of this program")
                 : Pages().loadError;
  }
  return nullptr;
}

void SetPageScreenRegistrar(PageScreenRegistrar registrar) {
  Pages().registrar = registrar;
}

void RegisterLinkedPageScreens() {
  if (Pages().registrar) Pages().registrar();
}

void SetPageModuleLoader(PageModuleLoader loader) {
  Pages().loader = std::move(loader);
}

}  // namespace examora
