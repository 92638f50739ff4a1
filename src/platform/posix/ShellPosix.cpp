#include "platform/Shell.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

namespace examora {
namespace {

ShellResult Failure(const std::string& what, int error) {
  return {false, what + ": " + std::strerror(error)};
}

// Runs `argv` in a grandchild so that it is nobody's zombie and lives on after we end (the
// hand-over starts the next part and then this program quits). Exec failures come back
// through a close-on-exec pipe, so a missing or non-executable file is reported.
ShellResult SpawnDetached(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return Failure("pipe", errno);
  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return Failure("fork", error);
  }
  if (child == 0) {
    // Only async-signal-safe calls from here on: the parent may have other threads.
    ::close(pipeFds[0]);
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
      sigset_t none;
      sigemptyset(&none);
      ::sigprocmask(SIG_SETMASK, &none, nullptr);
      ::execv(argv[0], argv.data());
      const int error = errno;
      [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &error, sizeof error);
      ::_exit(127);
    }
    if (grandchild < 0) {
      const int error = errno;
      [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &error, sizeof error);
    }
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  do {
    got = ::read(pipeFds[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  ::close(pipeFds[0]);
  if (got == static_cast<ssize_t>(sizeof error)) return Failure(args.front(), error);
  return {true, {}};
}

std::string FindInPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const std::size_t colon = rest.find(':');
    std::string folder(rest.substr(0, colon));
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + '/' + program;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string_view::npos) return {};
    rest.remove_prefix(colon + 1);
  }
}

}  // namespace

ShellResult StartExecutable(std::string_view path) {
  if (path.empty()) return Failure("(empty path)", ENOENT);
  return SpawnDetached({std::string(path)});
}

ShellResult OpenFolder(std::string_view path) {
  const std::string folder(path);
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return Failure(folder, errno);
  if (!S_ISDIR(st.st_mode)) return Failure(folder, ENOTDIR);
  const std::string opener = FindInPath("xdg-open");
  if (opener.empty()) return {false, "xdg-open: not found in PATH"};
  return SpawnDetached({opener, folder});
}

}  // namespace examora
