#include "widgets/StartWarmUp.h"

#include <QFontDatabase>
#include <QHash>
#include <QPainter>

#include <condition_variable>
#include <mutex>

#include "widgets/Fonts.h"

namespace examora {
namespace {

// Pictures a warm-up has been asked for: null until decoded.
struct Preloaded {
  std::mutex mutex;
  std::condition_variable decoded;
  QHash<QString, QImage> pictures;
  QHash<QString, bool> pending;
};

Preloaded& Shared() {
  static Preloaded shared;
  return shared;
}

void WarmUpFonts() {
  QFontDatabase::families();
  QImage canvas(16, 16, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&canvas);
  for (FontFace face : {FontFace::Meiryo, FontFace::MsPGothic, FontFace::MsGothic}) {
    for (bool bold : {false, true}) {
      painter.setFont(UiFont(face, 13, bold));
      painter.drawText(0, 12, QStringLiteral("Ex試験"));
    }
  }
}

}  // namespace

StartWarmUp::StartWarmUp(const QStringList& pictures) {
  Preloaded& shared = Shared();
  {
    const std::lock_guard lock(shared.mutex);
    for (const QString& path : pictures) shared.pending.insert(path, true);
  }
  worker_ = std::thread([pictures] {
    WarmUpFonts();
    Preloaded& shared = Shared();
    for (const QString& path : pictures) {
      QImage picture(path);
      const std::lock_guard lock(shared.mutex);
      // Taken already (read by the main thread while this one was busy): nothing to hand over.
      if (!shared.pending.remove(path)) continue;
      shared.pictures.insert(path, std::move(picture));
      shared.decoded.notify_all();
    }
  });
}

StartWarmUp::~StartWarmUp() {
  worker_.join();
  Preloaded& shared = Shared();
  const std::lock_guard lock(shared.mutex);
  shared.pictures.clear();
  shared.pending.clear();
}

QImage LoadPicture(const QString& absolutePath) {
  Preloaded& shared = Shared();
  {
    std::unique_lock lock(shared.mutex);
    shared.decoded.wait(lock, [&] { return !shared.pending.contains(absolutePath); });
    if (const auto found = shared.pictures.find(absolutePath); found != shared.pictures.end()) {
      QImage picture = std::move(*found);
      shared.pictures.erase(found);
      return picture;
    }
  }
  return QImage(absolutePath);
}

}  // namespace examora
