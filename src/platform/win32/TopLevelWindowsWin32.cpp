#include "platform/TopLevelWindows.h"

#include "platform/win32/Utf16.h"

namespace examora {
namespace {

HWND ToHandle(WindowId id) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
}

std::optional<WindowId> ToId(HWND window) {
  if (!window) return std::nullopt;
  return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace

std::optional<WindowId> FindTopLevelWindowByTitle(std::string_view title) {
  if (title.empty()) return std::nullopt;
  return ToId(FindWindowW(nullptr, win32::Utf8ToWide(title).c_str()));
}

std::optional<WindowId> FindTopLevelWindowByClass(std::string_view className) {
  if (className.empty()) return std::nullopt;
  return ToId(FindWindowW(win32::Utf8ToWide(className).c_str(), nullptr));
}

bool PostCloseRequest(WindowId window) {
  return window != 0 && PostMessageW(ToHandle(window), WM_CLOSE, 0, 0) != 0;
}

bool CloseFirstWindowTitled(std::string_view title) {
  const std::optional<WindowId> window = FindTopLevelWindowByTitle(title);
  return window && PostCloseRequest(*window);
}

bool ForceForeground(WindowId id, ForegroundAttach attach) {
  HWND window = ToHandle(id);
  if (!IsWindow(window)) return false;
  const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
  HWND foreground = GetForegroundWindow();
  const DWORD foregroundThread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  SetForegroundWindow(window);
  const bool sameThread = windowThread == foregroundThread;
  if (sameThread && attach == ForegroundAttach::WhenOtherThread) {
    return BringWindowToTop(window) != 0;
  }
  // Attaching a thread to itself fails and changes nothing; the bring-to-top still runs.
  const bool attached =
      foregroundThread != 0 && AttachThreadInput(foregroundThread, windowThread, TRUE);
  const bool broughtToTop = BringWindowToTop(window) != 0;
  if (attached) AttachThreadInput(foregroundThread, windowThread, FALSE);
  return broughtToTop;
}

bool BringToTop(WindowId id) {
  HWND window = ToHandle(id);
  if (!IsWindow(window)) return false;
  return SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) !=
         0;
}

void RestateOwner(WindowId, WindowId) {}

}  // namespace examora
