#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

// Ways to make the program's writers fail for real: a lowered file-size limit, and read-only
// files and folders that refuse writes even when the tests run as root.
namespace examora::test {

// How a forked child ended.
struct ChildOutcome {
  bool exited = false;  // ended through _exit (not by a signal)
  int exitCode = -1;
  int signal = 0;     // the signal that ended it, 0 when it exited
  QByteArray output;  // what the body returned, sent back through a pipe

  bool ok() const { return exited && exitCode == 0; }
  QString describe() const;
};

// Runs body in a forked child whose file-size limit (RLIMIT_FSIZE) is limitBytes and which
// ignores SIGXFSZ, so that a write past the limit fails with EFBIG instead of ending the
// process; a negative limit leaves the limit as it is. The child never returns into the test
// framework; the parent waits for it. Unix only (elsewhere the outcome reports exitCode -1).
ChildOutcome RunWithFileSizeLimit(qint64 limitBytes, const std::function<QByteArray()>& body);

// The same limit in this process while the object lives, for screens that need the running
// application. Restores the old limit and SIGXFSZ handling on destruction.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(qint64 limitBytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool active() const { return state_ != nullptr; }

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// While alive, the calling thread loses the capabilities that let root write into read-only
// files and folders (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER), so permission bits
// apply as they do for the candidate's account. A no-op for other users. Restored on
// destruction.
class NoPermissionOverride {
 public:
  NoPermissionOverride();
  ~NoPermissionOverride();
  NoPermissionOverride(const NoPermissionOverride&) = delete;
  NoPermissionOverride& operator=(const NoPermissionOverride&) = delete;

 private:
  bool dropped_ = false;
  unsigned int oldEffective_ = 0;
};

// Makes a file or folder read-only (r-x for a folder) and back.
bool MakeReadOnly(const QString& absolutePath);
bool MakeWritable(const QString& absolutePath);

}  // namespace examora::test
