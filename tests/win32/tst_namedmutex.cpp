#include <doctest.h>

#include "Win32Test.h"
#include "platform/NamedMutex.h"

using namespace examora;
using namespace examora::wintest;

namespace {

enum ChildAnswer : DWORD { kAcquired = 0, kHeldElsewhere = 2, kFailed = 3 };

DWORD Answer(const NamedMutexAttempt& attempt) {
  if (attempt.Acquired()) return kAcquired;
  return attempt.HeldElsewhere() ? kHeldElsewhere : kFailed;
}

// Child: takes the mutex; when it got it, says so and holds it until told to let go (or is
// killed).
const RegisterChildRole mutexHolder("mutex", [](const std::vector<std::string>& args) {
  NamedMutexAttempt attempt = NamedMutex::TryAcquire(args.at(0));
  if (!attempt.Acquired()) return static_cast<int>(Answer(attempt));
  SetEventNamed(args.at(1));
  WaitEventNamed(args.at(2), INFINITE);
  attempt.mutex->Release();
  return static_cast<int>(kAcquired);
});

// Child: one attempt, the outcome as exit code.
const RegisterChildRole mutexTry("mutex-try", [](const std::vector<std::string>& args) {
  return static_cast<int>(Answer(NamedMutex::TryAcquire(args.at(0))));
});

}  // namespace

TEST_CASE("named mutex: another process is refused while one holds it") {
  // The program's own names: the executable's name, Japanese and brackets included.
  const std::string name = "[1]情報処理.exe " + UniqueName("m");
  NamedMutexAttempt mine = NamedMutex::TryAcquire(name);
  REQUIRE(mine.Acquired());

  Child refused({"mutex-try", name});
  CHECK(refused.Wait(20000) == DWORD{kHeldElsewhere});

  mine.mutex->Release();
  Child after({"mutex-try", name});
  CHECK(after.Wait(20000) == DWORD{kAcquired});
}

TEST_CASE("named mutex: the holder's end frees it, however it ends") {
  const std::string name = "[2]実技.exe " + UniqueName("m");
  Event held(UniqueName("held")), release(UniqueName("release"));
  Child holder({"mutex", name, held.Name(), release.Name()});
  REQUIRE(held.WaitFor(20000));
  CHECK(NamedMutex::TryAcquire(name).HeldElsewhere());

  SUBCASE("released and exited") {
    release.Set();
    REQUIRE(holder.Wait(20000) == DWORD{kAcquired});
  }
  SUBCASE("killed while holding it") {
    holder.Kill();
  }
  // With another handle open the mutex outlives its owner and is left abandoned, as when a
  // third instance is starting at that moment.
  HANDLE other = nullptr;
  SUBCASE("killed while another process has it open (abandoned)") {
    other = OpenMutexW(SYNCHRONIZE, FALSE, Utf8ToWide(name).c_str());
    REQUIRE(other);
    holder.Kill();
  }
  NamedMutexAttempt now = NamedMutex::TryAcquire(name);
  CHECK(now.Acquired());
  CHECK(now.error.empty());
  if (other) CloseHandle(other);
}

TEST_CASE("named mutex: a name the system refuses fails instead of locking out") {
  // "\" is the object namespace separator: a name under a namespace that does not exist
  // cannot be created at all.
  const NamedMutexAttempt attempt = NamedMutex::TryAcquire("NoSuchNamespace\\examora");
  CHECK(attempt.outcome == NamedMutexAttempt::Outcome::Failed);
  CHECK_FALSE(attempt.error.empty());
}
