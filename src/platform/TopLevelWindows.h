#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Top-level windows of any process, found by title or class and asked to close or come to the
// front. Titles and class names are UTF-8.
//
// Windows: FindWindowW (its comparison ignores case), PostMessageW(WM_CLOSE), and the
// foreground switch with attached thread input.
// X11: client windows (_NET_CLIENT_LIST_STACKING when a window manager runs, otherwise the
// children of the root window and, below unnamed frames, the windows carrying WM_STATE). The
// title is _NET_WM_NAME, or WM_NAME when that is absent, compared byte for byte; the class is
// the class half of WM_CLASS. Without a display every function finds nothing and does nothing.
namespace examora {

// HWND on Windows, the X window id on X11. What QWidget::winId() returns fits.
using WindowId = std::uint64_t;

// The first window in stacking order, topmost first, whose title is exactly `title`. An
// empty title finds nothing: there are always untitled windows nobody means to close.
[[nodiscard]] std::optional<WindowId> FindTopLevelWindowByTitle(std::string_view title);
[[nodiscard]] std::optional<WindowId> FindTopLevelWindowByClass(std::string_view className);

// Asks the window to close without waiting for it (WM_CLOSE; on X11 _NET_CLOSE_WINDOW through
// the window manager, or WM_DELETE_WINDOW when none runs). False when the request could not
// be sent, e.g. an X11 window without a window manager that does not take WM_DELETE_WINDOW.
bool PostCloseRequest(WindowId window);

// FindTopLevelWindowByTitle + PostCloseRequest; true when a window was found and asked.
bool CloseFirstWindowTitled(std::string_view title);

// ForceForeground: makes the window the foreground window. Windows refuses that to a process
// that is not in the foreground itself, unless the foreground thread's input is attached to
// the window's thread while the window is brought to the top; `Always` attaches even when one
// thread owns both windows. On X11 the window manager is asked to activate the window (as a
// pager does, which it honours); without one the window is raised and given the focus.
enum class ForegroundAttach { WhenOtherThread, Always };
bool ForceForeground(WindowId window, ForegroundAttach attach = ForegroundAttach::WhenOtherThread);

// Brings a top-most window of ours to the top of the top-most windows without activating it,
// above another program's top-most window that came up over it. Windows: SetWindowPos with
// HWND_TOPMOST. X11: the window manager is asked to restack the window above all others (as
// a pager does; a client's own raise of a managed window is only a request the window manager
// may weigh), and the request is on its way to the server when this returns. False when the
// window does not exist or the request could not be sent.
bool BringToTop(WindowId window);

// Tells the window manager again that `window` (one of ours) belongs to `owner`, so that it is
// kept above the owner even when the owner is clicked. X11 window managers read the owner
// (WM_TRANSIENT_FOR) when they take a window on, and take a window shown before its owner for
// one standing alone; writing the owner again once the owner is on the screen makes them read
// it anew. Windows ties an owned window to its owner when the window is created: nothing to do.
void RestateOwner(WindowId window, WindowId owner);

}  // namespace examora
