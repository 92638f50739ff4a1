#include "platform/NamedMutex.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace examora {
namespace {

std::string SystemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

// The folder must be ours alone: another user who could plant files there could hold our
// locks or point them elsewhere.
bool IsPrivateFolder(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
         (st.st_mode & 077) == 0;
}

bool LockFolder(std::string& folder, std::string& error) {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/') {
    if (IsPrivateFolder(runtime)) {
      folder = runtime;
      return true;
    }
  }
  folder = "/tmp/examora-" + std::to_string(::getuid());
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    error = SystemError(folder);
    return false;
  }
  if (!IsPrivateFolder(folder)) {
    error = folder + ": not a private folder of this user";
    return false;
  }
  return true;
}

// Readable ASCII for people looking into the folder, plus a hash of the whole name so that
// names differing only in Japanese text or punctuation get different files.
std::string LockFileName(std::string_view name) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  std::string readable;
  for (const char c : name) {
    if (readable.size() == 64) break;
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    readable += plain ? c : '_';
  }
  static const char digits[] = "0123456789abcdef";
  std::string hex(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) hex[i] = digits[hash & 0xF];
  return "mutex-" + readable + '-' + hex + ".lock";
}

}  // namespace

NamedMutexAttempt NamedMutex::TryAcquire(std::string_view name) {
  NamedMutexAttempt attempt;
  std::string folder;
  if (!LockFolder(folder, attempt.error)) return attempt;
  const std::string path = folder + '/' + LockFileName(name);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    attempt.error = SystemError(path);
    return attempt;
  }
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    if (errno == EWOULDBLOCK) {
      attempt.outcome = NamedMutexAttempt::Outcome::HeldElsewhere;
    } else {
      attempt.error = SystemError(path);
    }
    ::close(fd);
    return attempt;
  }
  // The holder's process id, for whoever wonders which process keeps a part from starting.
  const std::string pid = std::to_string(::getpid()) + '\n';
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t written = ::write(fd, pid.data(), pid.size());
  }
  attempt.outcome = NamedMutexAttempt::Outcome::Acquired;
  attempt.mutex.reset(new NamedMutex(std::string(name), fd));
  return attempt;
}

NamedMutex::~NamedMutex() {
  Release();
}

void NamedMutex::Release() {
  if (handle_ < 0) return;
  ::close(static_cast<int>(handle_));  // closing the only descriptor drops the flock
  handle_ = -1;
}

}  // namespace examora
