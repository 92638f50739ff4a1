#include "platform/OpenFileProbe.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <set>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace examora {
namespace {

std::string SystemError() {
  return std::strerror(errno);
}

// True when another process holds a lock on any byte of the file. Asking for a write lock over
// the whole file finds read and write locks alike; asking never takes one.
bool LockedByOtherProcess(int fd) {
  struct flock query {};
  query.l_type = F_WRLCK;
  query.l_whence = SEEK_SET;
  query.l_start = 0;
  query.l_len = 0;  // to the end, however far the file grows
#ifdef F_OFD_GETLK
  // Open file description locks also see traditional locks of this process's other
  // descriptors; a kernel without them says EINVAL and the classic query is used.
  if (::fcntl(fd, F_OFD_GETLK, &query) == 0) return query.l_type != F_UNLCK;
  query = {};
  query.l_type = F_WRLCK;
  query.l_whence = SEEK_SET;
#endif
  if (::fcntl(fd, F_GETLK, &query) == 0) return query.l_type != F_UNLCK;
  return false;  // a file system without locks: nobody can hold one
}

// The owner files office programs leave beside a document while they have it open.
std::string OwnerFileOf(const std::string& name, const std::set<std::string>& folderEntries) {
  for (const std::string& owner : {".~lock." + name + "#", "~$" + name}) {
    if (folderEntries.count(owner)) return owner;
  }
  return {};
}

std::chrono::local_seconds LocalTime(const struct timespec& mtime) {
  struct tm local {};
  const time_t whole = mtime.tv_sec;
  ::localtime_r(&whole, &local);
  using namespace std::chrono;
  const local_days day{year{local.tm_year + 1900} / month{static_cast<unsigned>(local.tm_mon + 1)} /
                       static_cast<unsigned>(local.tm_mday)};
  return day + hours{local.tm_hour} + minutes{local.tm_min} + seconds{local.tm_sec};
}

// The names in the folder; empty when it cannot be read (no owner file then).
std::set<std::string> FolderEntries(int folderFd) {
  std::set<std::string> names;
  const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listFd < 0) return names;
  DIR* dir = ::fdopendir(listFd);
  if (!dir) {
    ::close(listFd);
    return names;
  }
  while (const dirent* entry = ::readdir(dir)) names.insert(entry->d_name);
  ::closedir(dir);
  return names;
}

// `name` is opened relative to the folder: one path component to look up, not the whole path.
OpenFileProbeResult Probe(int folderFd, const std::string& name,
                          const std::set<std::string>& folderEntries) {
  OpenFileProbeResult result;
  // Non-blocking, so that a named pipe in the work folder cannot stall the check.
  int fd;
  do {
    fd = ::openat(folderFd, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    result.error = SystemError();
    return result;
  }
  struct stat st {};
  const bool statOk = ::fstat(fd, &st) == 0;
  const std::string statError = statOk ? std::string() : SystemError();
  const bool locked = statOk && LockedByOtherProcess(fd);
  ::close(fd);
  if (!statOk) {
    result.error = statError;
    return result;
  }
  if (locked) {
    result.outcome = OpenFileProbeResult::Outcome::HeldOpen;
    result.error = "locked by another process";
    return result;
  }
  if (std::string owner = OwnerFileOf(name, folderEntries); !owner.empty()) {
    result.outcome = OpenFileProbeResult::Outcome::HeldOpen;
    result.error = "owner file " + owner;
    return result;
  }
  result.outcome = OpenFileProbeResult::Outcome::Readable;
  result.lastWrite = LocalTime(st.st_mtim);
  return result;
}

}  // namespace

OpenFileProbeResult ProbeOpenFile(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder(slash == std::string_view::npos ? "." : path.substr(0, slash + 1));
  const std::string name(path.substr(slash == std::string_view::npos ? 0 : slash + 1));
  std::vector<OpenFileProbeResult> results = ProbeOpenFilesIn(folder, {name});
  return std::move(results.front());
}

std::vector<OpenFileProbeResult> ProbeOpenFilesIn(std::string_view folder,
                                                  const std::vector<std::string>& names) {
  std::vector<OpenFileProbeResult> results;
  results.reserve(names.size());
  const std::string folderPath(folder.empty() ? std::string_view(".") : folder);
  const int folderFd = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) {
    OpenFileProbeResult failed;
    failed.error = SystemError();
    results.assign(names.size(), failed);
    return results;
  }
  const std::set<std::string> entries = FolderEntries(folderFd);
  for (const std::string& name : names) results.push_back(Probe(folderFd, name, entries));
  ::close(folderFd);
  return results;
}

}  // namespace examora
