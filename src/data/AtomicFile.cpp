#include "data/AtomicFile.h"

#include "platform/AtomicReplace.h"

#include <QDir>

#include <string_view>

namespace examora {

WriteResult WriteFileAtomically(const QString& absolutePath, QByteArrayView bytes) {
  // The platform layer speaks UTF-8 with "/" between folders; Windows takes either.
  const QByteArray path = QDir::fromNativeSeparators(absolutePath).toUtf8();
  const ReplaceResult result = ReplaceFileAtomically(
      std::string_view(path.constData(), static_cast<std::size_t>(path.size())),
      std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
  if (result) return WriteResult::Success();
  return WriteResult::Failure(QString::fromStdString(result.error));
}

}  // namespace examora
