#include "widgets/Preload.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace examora {

struct Preloader::State {
  std::mutex mutex;
  std::condition_variable changed;
  QStringList queue;
  QString decoding;  // the file under way, empty when none
  QHash<QString, QImage> decoded;
  bool ending = false;
  std::thread worker;

  void Run() {
    // Fonts, first: the screens' first text would wait for the list of installed fonts, and
    // every line edit lays its text out once in the application's font while it is made, a
    // name that stands for a system font and is looked up among all installed fonts. Both
    // results are kept for the whole program (the fonts themselves are loaded per thread).
    (void)QFontDatabase::families();
    (void)QFontInfo(QFont()).family();
    std::unique_lock lock(mutex);
    for (;;) {
      changed.wait(lock, [this] { return ending || !queue.isEmpty(); });
      if (ending) return;
      const QString path = queue.takeFirst();
      decoding = path;
      lock.unlock();
      const QImage picture(path);
      lock.lock();
      decoded.insert(path, picture);
      decoding.clear();
      changed.notify_all();
    }
  }
};

namespace {

// Only the main thread makes and ends the preloader, and only it asks for pictures.
Preloader::State* current = nullptr;

}  // namespace

Preloader::Preloader() : state_(std::make_unique<State>()) {
  state_->worker = std::thread([state = state_.get()] { state->Run(); });
  current = state_.get();
}

Preloader::~Preloader() {
  current = nullptr;
  {
    std::lock_guard lock(state_->mutex);
    state_->ending = true;
  }
  state_->changed.notify_all();
  state_->worker.join();
}

void PreloadPictures(const QStringList& absolutePaths) {
  if (!current) return;
  std::lock_guard lock(current->mutex);
  for (const QString& path : absolutePaths) {
    if (!current->queue.contains(path) && current->decoding != path &&
        !current->decoded.contains(path))
      current->queue.append(path);
  }
  current->changed.notify_all();
}

QImage LoadPicture(const QString& absolutePath) {
  if (current) {
    std::unique_lock lock(current->mutex);
    // Not started: decoded here rather than after the files queued before it.
    if (!current->queue.removeOne(absolutePath)) {
      current->changed.wait(lock, [&] { return current->decoding != absolutePath; });
      if (const auto it = current->decoded.constFind(absolutePath); it != current->decoded.cend()) {
        const QImage picture = *it;
        current->decoded.erase(it);
        return picture;
      }
    }
  }
  return QImage(absolutePath);
}

}  // namespace examora
