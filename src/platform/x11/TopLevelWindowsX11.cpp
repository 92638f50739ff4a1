#include "platform/TopLevelWindows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <string>
#include <vector>

namespace examora {
namespace {

// Windows of other clients can vanish between two requests; Xlib's default handler would
// end the whole program on the resulting BadWindow.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

// One short-lived connection per call: the callers run a few times a second at most, and a
// private connection cannot disturb the toolkit's own.
class Connection {
 public:
  Connection() : display_(XOpenDisplay(nullptr)) {
    if (display_) previousHandler_ = XSetErrorHandler(IgnoreXError);
  }
  ~Connection() {
    if (!display_) return;
    XSync(display_, False);  // deliver our errors to our handler, not the restored one
    XSetErrorHandler(previousHandler_);
    XCloseDisplay(display_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  explicit operator bool() const { return display_ != nullptr; }
  Display* display() const { return display_; }
  Window root() const { return DefaultRootWindow(display_); }
  Atom atom(const char* name) const { return XInternAtom(display_, name, False); }

 private:
  Display* display_;
  XErrorHandler previousHandler_ = nullptr;
};

struct Property {
  Atom type = None;
  int format = 0;
  std::vector<unsigned char> bytes;  // format 8
  std::vector<unsigned long> items;  // formats 16 and 32 (Xlib hands them out as longs)
};

bool ReadProperty(const Connection& x, Window window, Atom name, Property& out) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(x.display(), window, name, 0, 1 << 20, False,
                                        AnyPropertyType, &type, &format, &count, &remaining, &data);
  if (status != Success || type == None) {
    if (data) XFree(data);
    return false;
  }
  out.type = type;
  out.format = format;
  if (format == 8) {
    out.bytes.assign(data, data + count);
  } else if (format == 16) {
    const auto* values = reinterpret_cast<const unsigned short*>(data);
    out.items.assign(values, values + count);
  } else if (format == 32) {
    const auto* values = reinterpret_cast<const unsigned long*>(data);
    out.items.assign(values, values + count);
  }
  if (data) XFree(data);
  return true;
}

std::vector<unsigned long> ReadList(const Connection& x, Window window, const char* name) {
  Property property;
  if (!ReadProperty(x, window, x.atom(name), property) || property.format != 32) return {};
  return property.items;
}

bool HasProperty(const Connection& x, Window window, const char* name) {
  Property property;
  return ReadProperty(x, window, x.atom(name), property);
}

std::string Latin1ToUtf8(const std::vector<unsigned char>& bytes) {
  std::string text;
  for (const unsigned char c : bytes) {
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else {
      text += static_cast<char>(0xC0 | (c >> 6));
      text += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return text;
}

std::optional<std::string> WindowTitle(const Connection& x, Window window) {
  const Atom utf8 = x.atom("UTF8_STRING");
  Property name;
  if (ReadProperty(x, window, x.atom("_NET_WM_NAME"), name) && name.format == 8 &&
      name.type == utf8) {
    return std::string(name.bytes.begin(), name.bytes.end());
  }
  name = {};
  if (!ReadProperty(x, window, XA_WM_NAME, name) || name.format != 8) return std::nullopt;
  if (name.type == XA_STRING) return Latin1ToUtf8(name.bytes);
  if (name.type == utf8) return std::string(name.bytes.begin(), name.bytes.end());
  // COMPOUND_TEXT and the like: let Xlib convert them.
  XTextProperty text{};
  text.value = name.bytes.data();
  text.encoding = name.type;
  text.format = 8;
  text.nitems = name.bytes.size();
  char** list = nullptr;
  int count = 0;
  if (Xutf8TextPropertyToTextList(x.display(), &text, &list, &count) < Success || count < 1) {
    if (list) XFreeStringList(list);
    return std::nullopt;
  }
  std::string converted = list[0];
  XFreeStringList(list);
  return converted;
}

std::optional<std::string> WindowClass(const Connection& x, Window window) {
  Property property;
  if (!ReadProperty(x, window, XA_WM_CLASS, property) || property.format != 8) {
    return std::nullopt;
  }
  // "instance\0class\0"
  const std::string both(property.bytes.begin(), property.bytes.end());
  const std::size_t split = both.find('\0');
  if (split == std::string::npos) return std::nullopt;
  std::string className = both.substr(split + 1);
  if (const std::size_t end = className.find('\0'); end != std::string::npos) {
    className.resize(end);
  }
  return className;
}

// An EWMH window manager leaves a check window on the root that names itself; a stale
// property of a manager that has gone points to a window that no longer does.
bool WindowManagerRuns(const Connection& x) {
  const std::vector<unsigned long> check = ReadList(x, x.root(), "_NET_SUPPORTING_WM_CHECK");
  if (check.empty()) return false;
  const std::vector<unsigned long> self = ReadList(x, check.front(), "_NET_SUPPORTING_WM_CHECK");
  return !self.empty() && self.front() == check.front();
}

bool WindowManagerSupports(const Connection& x, const char* name) {
  const std::vector<unsigned long> supported = ReadList(x, x.root(), "_NET_SUPPORTED");
  return std::find(supported.begin(), supported.end(), x.atom(name)) != supported.end();
}

std::vector<Window> Children(const Connection& x, Window parent) {
  Window rootReturn = 0;
  Window parentReturn = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  std::vector<Window> result;
  if (XQueryTree(x.display(), parent, &rootReturn, &parentReturn, &children, &count)) {
    result.assign(children, children + count);  // bottom to top
  }
  if (children) XFree(children);
  return result;
}

// The client inside a window manager's frame: the first window below it with WM_STATE.
std::optional<Window> ClientBelow(const Connection& x, Window frame, int depth) {
  if (depth == 0) return std::nullopt;
  std::vector<Window> children = Children(x, frame);
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (HasProperty(x, *it, "WM_STATE")) return *it;
    if (const auto client = ClientBelow(x, *it, depth - 1)) return client;
  }
  return std::nullopt;
}

// Client windows, topmost first, as FindWindow visits them.
std::vector<Window> ClientWindows(const Connection& x) {
  if (WindowManagerRuns(x)) {
    std::vector<unsigned long> stacking = ReadList(x, x.root(), "_NET_CLIENT_LIST_STACKING");
    if (!stacking.empty()) return {stacking.rbegin(), stacking.rend()};
    std::vector<unsigned long> mapped = ReadList(x, x.root(), "_NET_CLIENT_LIST");
    if (!mapped.empty()) return {mapped.begin(), mapped.end()};
  }
  std::vector<Window> clients;
  const std::vector<Window> topLevel = Children(x, x.root());
  for (auto it = topLevel.rbegin(); it != topLevel.rend(); ++it) {
    if (HasProperty(x, *it, "WM_STATE") || HasProperty(x, *it, "_NET_WM_NAME") ||
        HasProperty(x, *it, "WM_NAME")) {
      clients.push_back(*it);
    } else if (const auto client = ClientBelow(x, *it, 3)) {
      clients.push_back(*client);
    }
  }
  return clients;
}

template <typename Get>
std::optional<WindowId> FindClient(std::string_view wanted, Get get) {
  if (wanted.empty()) return std::nullopt;
  const Connection x;
  if (!x) return std::nullopt;
  for (const Window window : ClientWindows(x)) {
    const std::optional<std::string> value = get(x, window);
    if (value && *value == wanted) return static_cast<WindowId>(window);
  }
  return std::nullopt;
}

void SendToRoot(const Connection& x, Window window, const char* message, long a0, long a1,
                long a2) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = x.atom(message);
  event.xclient.format = 32;
  event.xclient.data.l[0] = a0;
  event.xclient.data.l[1] = a1;
  event.xclient.data.l[2] = a2;
  XSendEvent(x.display(), x.root(), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
}

bool WindowExists(const Connection& x, Window window, XWindowAttributes* attributes = nullptr) {
  XWindowAttributes scratch{};
  return XGetWindowAttributes(x.display(), window, attributes ? attributes : &scratch) != 0;
}

// Source indication 2: the request comes from a pager-like tool acting for the user, which
// window managers do not second-guess.
constexpr long kSourcePager = 2;

}  // namespace

std::optional<WindowId> FindTopLevelWindowByTitle(std::string_view title) {
  return FindClient(title, WindowTitle);
}

std::optional<WindowId> FindTopLevelWindowByClass(std::string_view className) {
  return FindClient(className, WindowClass);
}

bool PostCloseRequest(WindowId id) {
  const Connection x;
  const auto window = static_cast<Window>(id);
  if (!x || id == 0 || !WindowExists(x, window)) return false;
  if (WindowManagerRuns(x) && WindowManagerSupports(x, "_NET_CLOSE_WINDOW")) {
    SendToRoot(x, window, "_NET_CLOSE_WINDOW", CurrentTime, kSourcePager, 0);
    return true;
  }
  const Atom deleteWindow = x.atom("WM_DELETE_WINDOW");
  const std::vector<unsigned long> protocols = ReadList(x, window, "WM_PROTOCOLS");
  if (std::find(protocols.begin(), protocols.end(), deleteWindow) == protocols.end()) {
    // Nothing but destroying the window would close it, and that may crash its owner.
    return false;
  }
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = x.atom("WM_PROTOCOLS");
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(deleteWindow);
  event.xclient.data.l[1] = CurrentTime;
  return XSendEvent(x.display(), window, False, NoEventMask, &event) != 0;
}

bool CloseFirstWindowTitled(std::string_view title) {
  const std::optional<WindowId> window = FindTopLevelWindowByTitle(title);
  return window && PostCloseRequest(*window);
}

bool ForceForeground(WindowId id, ForegroundAttach) {
  const Connection x;
  const auto window = static_cast<Window>(id);
  XWindowAttributes attributes{};
  if (!x || id == 0 || !WindowExists(x, window, &attributes)) return false;
  if (WindowManagerRuns(x)) {
    SendToRoot(x, window, "_NET_ACTIVE_WINDOW", kSourcePager, CurrentTime, 0);
    return true;
  }
  XRaiseWindow(x.display(), window);
  if (attributes.map_state == IsViewable) {
    XSetInputFocus(x.display(), window, RevertToPointerRoot, CurrentTime);
  }
  return true;
}

bool BringToTop(WindowId id) {
  const Connection x;
  const auto window = static_cast<Window>(id);
  if (!x || id == 0 || !WindowExists(x, window)) return false;
  if (WindowManagerRuns(x) && WindowManagerSupports(x, "_NET_RESTACK_WINDOW")) {
    // No sibling: above every window of its layer.
    SendToRoot(x, window, "_NET_RESTACK_WINDOW", kSourcePager, 0, Above);
  } else {
    XRaiseWindow(x.display(), window);
  }
  return true;  // the connection's close flushes the request
}

void RestateOwner(WindowId window, WindowId owner) {
  const Connection x;
  if (!x || window == 0 || owner == 0) return;
  XSetTransientForHint(x.display(), static_cast<Window>(window), static_cast<Window>(owner));
}

}  // namespace examora
