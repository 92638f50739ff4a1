#include "platform/AtomicReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace examora {
namespace {

ReplaceResult Failure(int error) {
  return {false, std::strerror(error)};
}

int Close(int fd) {
  // A close interrupted by a signal must not be retried on Linux: the descriptor is gone.
  const int rc = ::close(fd);
  return (rc != 0 && errno == EINTR) ? 0 : rc;
}

int Sync(int fd) {
  int rc;
  do {
    rc = ::fsync(fd);
  } while (rc != 0 && errno == EINTR);
  return rc;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

ReplaceResult ReplaceFileAtomically(std::string_view requested, std::string_view bytes) {
  std::string target(requested);
  // Writing through a symbolic link replaces the file it points at, not the link.
  struct stat link {};
  if (::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(target.c_str(), resolved) != nullptr) target = resolved;
  }

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return Failure(errno);
  if (exists) {
    if (S_ISDIR(old.st_mode)) return Failure(EISDIR);
    // rename(2) would replace a file we may not write to; refuse it as Windows does. Root
    // passes access(), so a file without any write permission counts as read-only too.
    if (::access(target.c_str(), W_OK) != 0) return Failure(errno);
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Failure(EACCES);
  }

  std::string tempPath;
  int fd = -1;
  for (int attempt = 0; attempt < 10 && fd < 0; ++attempt) {
    tempPath = TemporaryPathBeside(target);
    // 0666 less the umask, like any new file; an existing file's mode is copied below.
    fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return Failure(errno);
  }
  if (fd < 0) return Failure(EEXIST);

  auto fail = [&](int error) {
    if (fd >= 0) Close(fd);
    ::unlink(tempPath.c_str());
    return Failure(error);
  };

  if (exists) {
    if (::fchmod(fd, old.st_mode & 07777) != 0) return fail(errno);
    // Only root can give the file away; elsewhere the owner is ours already.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
  }

  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  if (Sync(fd) != 0) return fail(errno);
  if (Close(fd) != 0) {
    fd = -1;
    return fail(errno);
  }
  fd = -1;

  if (::rename(tempPath.c_str(), target.c_str()) != 0) return fail(errno);

  // The rename is durable only once the folder entry reaches the disk.
  const int dirFd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return Failure(errno);
  const int syncError = Sync(dirFd) != 0 ? errno : 0;
  Close(dirFd);
  // Some file systems cannot sync a folder; the file itself is complete either way.
  if (syncError != 0 && syncError != EINVAL && syncError != ENOTSUP) return Failure(syncError);
  return {true, {}};
}

}  // namespace examora
