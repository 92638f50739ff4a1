#include "FileLockHolder.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace examora::test {
namespace {

constexpr char kHoldVariable[] = "EXAMORA_TEST_HOLD_FCNTL_LOCK";

// Runs before main(): a holder never gets to the tests.
[[maybe_unused]] const bool holdingForParent = [] {
  const char* path = std::getenv(kHoldVariable);
  if (!path) return false;
  const int fd = ::open(path, O_RDWR);
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  const bool held = fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0;
  std::printf("%s\n", held ? "held" : "not held");
  std::fflush(stdout);
  for (;;) ::pause();
}();

}  // namespace

bool StartFileLockHolder(QProcess& holder, const QString& path) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QLatin1String(kHoldVariable), path);
  holder.setProcessEnvironment(environment);
  holder.start(QCoreApplication::applicationFilePath(), {});
  if (!holder.waitForStarted() || !holder.waitForReadyRead(10000) ||
      holder.readLine().trimmed() != "held") {
    holder.kill();
    holder.waitForFinished();
    return false;
  }
  return true;
}

}  // namespace examora::test
