#include "platform/NamedMutex.h"

#include "platform/win32/Utf16.h"

namespace examora {

NamedMutexAttempt NamedMutex::TryAcquire(std::string_view name) {
  NamedMutexAttempt attempt;
  const std::wstring wide = win32::Utf8ToWide(name);
  HANDLE handle = CreateMutexW(nullptr, FALSE, wide.c_str());
  if (!handle) {
    attempt.error = win32::ErrorText(GetLastError());
    return attempt;
  }
  switch (WaitForSingleObject(handle, 0)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // the last owner died holding it: ours now
      attempt.outcome = NamedMutexAttempt::Outcome::Acquired;
      attempt.mutex.reset(
          new NamedMutex(std::string(name), reinterpret_cast<std::intptr_t>(handle)));
      return attempt;
    case WAIT_TIMEOUT:
      attempt.outcome = NamedMutexAttempt::Outcome::HeldElsewhere;
      break;
    default:
      attempt.error = win32::ErrorText(GetLastError());
      break;
  }
  CloseHandle(handle);
  return attempt;
}

NamedMutex::~NamedMutex() {
  Release();
}

// Must run on the thread that took the mutex: Windows ties ownership to the thread.
void NamedMutex::Release() {
  if (handle_ == -1) return;
  HANDLE handle = reinterpret_cast<HANDLE>(handle_);
  ReleaseMutex(handle);
  CloseHandle(handle);
  handle_ = -1;
}

}  // namespace examora
