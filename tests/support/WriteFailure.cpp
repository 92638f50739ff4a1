#include "WriteFailure.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif
#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/syscall.h>
#endif

namespace examora::test {

QString ChildOutcome::describe() const {
  if (exited) return QStringLiteral("exit code %1").arg(exitCode);
  if (signal != 0) return QStringLiteral("ended by signal %1").arg(signal);
  return QStringLiteral("not run");
}

#ifdef Q_OS_UNIX

namespace {

bool LowerFileSizeLimit(qint64 limitBytes, rlim_t* oldSoft) {
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
  if (oldSoft) *oldSoft = limit.rlim_cur;
  limit.rlim_cur = static_cast<rlim_t>(limitBytes);
  return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

bool WriteAll(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= n;
  }
  return true;
}

}  // namespace

ChildOutcome RunWithFileSizeLimit(qint64 limitBytes, const std::function<QByteArray()>& body) {
  ChildOutcome outcome;
  int fds[2];
  if (::pipe(fds) != 0) return outcome;
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return outcome;
  }
  if (child == 0) {
    ::close(fds[0]);
    std::signal(SIGXFSZ, SIG_IGN);
    if (limitBytes >= 0 && !LowerFileSizeLimit(limitBytes, nullptr)) _exit(3);
    const QByteArray out = body();
    _exit(WriteAll(fds[1], out.constData(), out.size()) ? 0 : 4);
  }
  ::close(fds[1]);
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    outcome.output.append(buffer, n);
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) {
    outcome.exited = true;
    outcome.exitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    outcome.signal = WTERMSIG(status);
  }
  return outcome;
}

struct FileSizeLimit::State {
  rlim_t oldSoft = RLIM_INFINITY;
  struct sigaction oldAction {};
};

FileSizeLimit::FileSizeLimit(qint64 limitBytes) {
  auto state = std::make_unique<State>();
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  if (sigaction(SIGXFSZ, &ignore, &state->oldAction) != 0) return;
  if (!LowerFileSizeLimit(limitBytes, &state->oldSoft)) {
    sigaction(SIGXFSZ, &state->oldAction, nullptr);
    return;
  }
  state_ = std::move(state);
}

FileSizeLimit::~FileSizeLimit() {
  if (!state_) return;
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) == 0) {
    limit.rlim_cur = state_->oldSoft;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  sigaction(SIGXFSZ, &state_->oldAction, nullptr);
}

#else

ChildOutcome RunWithFileSizeLimit(qint64, const std::function<QByteArray()>&) {
  return {};
}

struct FileSizeLimit::State {};
FileSizeLimit::FileSizeLimit(qint64) {}
FileSizeLimit::~FileSizeLimit() = default;

#endif

#ifdef Q_OS_LINUX

namespace {

constexpr unsigned int kOverrides =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool Capabilities(__user_cap_data_struct (&data)[2]) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  return ::syscall(SYS_capget, &header, data) == 0;
}

bool SetCapabilities(__user_cap_data_struct (&data)[2]) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  return ::syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

NoPermissionOverride::NoPermissionOverride() {
  __user_cap_data_struct data[2] = {};
  if (!Capabilities(data) || (data[0].effective & kOverrides) == 0) return;
  oldEffective_ = data[0].effective;
  data[0].effective &= ~kOverrides;
  dropped_ = SetCapabilities(data);
}

NoPermissionOverride::~NoPermissionOverride() {
  if (!dropped_) return;
  __user_cap_data_struct data[2] = {};
  if (!Capabilities(data)) return;
  data[0].effective = oldEffective_;
  (void)SetCapabilities(data);
}

#else

NoPermissionOverride::NoPermissionOverride() = default;
NoPermissionOverride::~NoPermissionOverride() = default;

#endif

bool MakeReadOnly(const QString& absolutePath) {
  QFile::Permissions mode =
      QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
  if (QFileInfo(absolutePath).isDir())
    mode |= QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;
  return QFile::setPermissions(absolutePath, mode);
}

bool MakeWritable(const QString& absolutePath) {
  QFile::Permissions mode =
      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
  if (QFileInfo(absolutePath).isDir()) mode |= QFile::ExeOwner | QFile::ExeUser;
  return QFile::setPermissions(absolutePath, mode);
}

}  // namespace examora::test
