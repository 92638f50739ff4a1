#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace examora {

class NamedMutex;

// What one attempt to take a named mutex came to. Only HeldElsewhere means "another instance
// runs": a lock that cannot even be created must not lock a candidate out of the exam.
struct NamedMutexAttempt {
  enum class Outcome { Acquired, HeldElsewhere, Failed };
  Outcome outcome = Outcome::Failed;
  std::unique_ptr<NamedMutex> mutex;  // set when Acquired
  std::string error;                  // the system's text when Failed

  bool Acquired() const { return outcome == Outcome::Acquired; }
  bool HeldElsewhere() const { return outcome == Outcome::HeldElsewhere; }
};

// A lock shared by all processes of the user, named by UTF-8 text (names like
// "[1]情報処理.exe" are used as they are). Held until Release() or destruction, and given up by
// the system when the process dies, however it dies.
//
// Windows: a kernel mutex in the session namespace, taken with a zero-timeout wait; an
// abandoned mutex counts as taken. A second attempt from the owning thread succeeds, because
// kernel mutexes are recursive.
// POSIX: flock() on a file in the user's runtime folder ($XDG_RUNTIME_DIR, else
// /tmp/examora-<uid>), named after a readable ASCII form of the name plus a hash of the whole
// name. Every attempt opens its own file description, so a second attempt fails even inside
// the holding process. The files are left behind: unlinking a lock file races with a process
// that has just opened it.
class NamedMutex {
 public:
  [[nodiscard]] static NamedMutexAttempt TryAcquire(std::string_view name);

  ~NamedMutex();
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;

  // Gives the lock up now; the destructor does nothing afterwards.
  void Release();
  const std::string& Name() const { return name_; }

 private:
  NamedMutex(std::string name, std::intptr_t handle) : name_(std::move(name)), handle_(handle) {}

  std::string name_;
  std::intptr_t handle_;  // file descriptor (POSIX) or HANDLE (Windows); -1 once released
};

}  // namespace examora
