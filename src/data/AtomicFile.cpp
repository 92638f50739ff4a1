#include "data/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <string>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace examora {
namespace {

// A name beside the target that no other writer picks: the target's name, a random part and
// ".tmp". A crash leaves at most this file behind, never a damaged target.
QString TemporaryPathFor(const QString& target) {
  const QFileInfo info(target);
  return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.') +
         QString::number(QRandomGenerator::global()->generate64(), 36) + QStringLiteral(".tmp");
}

#ifdef _WIN32

QString SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  QString text = length > 0 ? QString::fromWCharArray(buffer, length).trimmed()
                            : QStringLiteral("Error %1").arg(code);
  if (buffer != nullptr) LocalFree(buffer);
  return text;
}

WriteResult LastError() {
  return WriteResult::Failure(SystemErrorText(GetLastError()));
}

std::wstring Native(const QString& path) {
  return QDir::toNativeSeparators(path).toStdWString();
}

WriteResult WriteAtomically(const QString& target, QByteArrayView bytes) {
  const std::wstring targetPath = Native(target);
  const DWORD oldAttributes = GetFileAttributesW(targetPath.c_str());
  if (oldAttributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    // A missing file is created; a missing folder is the caller's fault and not repaired.
    if (error != ERROR_FILE_NOT_FOUND) return WriteResult::Failure(SystemErrorText(error));
  } else if (oldAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    return WriteResult::Failure(SystemErrorText(ERROR_ACCESS_DENIED));
  }

  std::wstring tempPath;
  HANDLE handle = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 10 && handle == INVALID_HANDLE_VALUE; ++attempt) {
    tempPath = Native(TemporaryPathFor(target));
    handle = CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return LastError();
  }
  if (handle == INVALID_HANDLE_VALUE) return LastError();

  auto fail = [&](DWORD error) {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    DeleteFileW(tempPath.c_str());
    return WriteResult::Failure(SystemErrorText(error));
  };

  const char* data = bytes.data();
  qsizetype left = bytes.size();
  while (left > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<qsizetype>(left, 1 << 30));
    DWORD written = 0;
    if (!WriteFile(handle, data, chunk, &written, nullptr)) return fail(GetLastError());
    data += written;
    left -= written;
  }
  if (!FlushFileBuffers(handle)) return fail(GetLastError());
  if (!CloseHandle(handle)) {
    handle = INVALID_HANDLE_VALUE;
    return fail(GetLastError());
  }
  handle = INVALID_HANDLE_VALUE;

  if (!MoveFileExW(tempPath.c_str(), targetPath.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return fail(GetLastError());
  }
  // The replacement keeps the old file's hidden/system/archive marks.
  if (oldAttributes != INVALID_FILE_ATTRIBUTES && oldAttributes != FILE_ATTRIBUTE_NORMAL)
    SetFileAttributesW(targetPath.c_str(), oldAttributes);
  return WriteResult::Success();
}

#else  // POSIX

QString SystemErrorText(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

WriteResult Failure(int error) {
  return WriteResult::Failure(SystemErrorText(error));
}

int Close(int fd) {
  // A close interrupted by a signal must not be retried on Linux: the descriptor is gone.
  const int rc = ::close(fd);
  return (rc != 0 && errno == EINTR) ? 0 : rc;
}

WriteResult WriteAtomically(const QString& requested, QByteArrayView bytes) {
  QString target = requested;
  // Writing through a symbolic link replaces the file it points at, not the link.
  const QFileInfo info(requested);
  if (info.isSymLink()) {
    const QString resolved = info.canonicalFilePath();
    if (!resolved.isEmpty()) target = resolved;
  }
  const QByteArray targetPath = QFile::encodeName(target);

  struct stat old {};
  const bool exists = ::stat(targetPath.constData(), &old) == 0;
  if (!exists && errno != ENOENT) return Failure(errno);
  if (exists) {
    if (S_ISDIR(old.st_mode)) return Failure(EISDIR);
    // rename(2) would replace a file we may not write to; refuse it as Windows does. Root
    // passes access(), so a file without any write permission counts as read-only too.
    if (::access(targetPath.constData(), W_OK) != 0) return Failure(errno);
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Failure(EACCES);
  }

  QByteArray tempPath;
  int fd = -1;
  for (int attempt = 0; attempt < 10 && fd < 0; ++attempt) {
    tempPath = QFile::encodeName(TemporaryPathFor(target));
    // 0666 less the umask, like any new file; an existing file's mode is copied below.
    fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return Failure(errno);
  }
  if (fd < 0) return Failure(EEXIST);

  auto fail = [&](int error) {
    if (fd >= 0) Close(fd);
    ::unlink(tempPath.constData());
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
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
    if (written < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    data += written;
    left -= written;
  }
  int rc;
  do {
    rc = ::fsync(fd);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) return fail(errno);
  if (Close(fd) != 0) {
    fd = -1;
    return fail(errno);
  }
  fd = -1;

  if (::rename(tempPath.constData(), targetPath.constData()) != 0) return fail(errno);

  // The rename is durable only once the folder entry reaches the disk.
  const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
  const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return Failure(errno);
  do {
    rc = ::fsync(dirFd);
  } while (rc != 0 && errno == EINTR);
  const int syncError = rc != 0 ? errno : 0;
  Close(dirFd);
  // Some file systems cannot sync a folder; the file itself is complete either way.
  if (syncError != 0 && syncError != EINVAL && syncError != ENOTSUP) return Failure(syncError);
  return WriteResult::Success();
}

#endif

}  // namespace

WriteResult WriteFileAtomically(const QString& absolutePath, QByteArrayView bytes) {
  return WriteAtomically(absolutePath, bytes);
}

}  // namespace examora
