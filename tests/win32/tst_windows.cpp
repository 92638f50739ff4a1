#include <doctest.h>

#include "Win32Test.h"
#include "platform/OsInfo.h"
#include "platform/SystemMenu.h"
#include "platform/SystemMetrics.h"
#include "platform/TopLevelWindows.h"

#include <cstdlib>
#include <fstream>

using namespace examora;
using namespace examora::wintest;

namespace {

constexpr int kClosedByRequest = 42;

LRESULT CALLBACK QuitOnDestroy(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_DESTROY) PostQuitMessage(kClosedByRequest);
  return DefWindowProcW(window, message, w, l);
}

// A real top-level window of this thread, destroyed with the object.
class TestWindow {
 public:
  TestWindow(const std::string& title, const std::string& className) {
    const std::wstring wideClass = Utf8ToWide(className);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = QuitOnDestroy;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = wideClass.c_str();
    RegisterClassW(&windowClass);
    handle_ = CreateWindowExW(0, wideClass.c_str(), Utf8ToWide(title).c_str(),
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  ~TestWindow() {
    if (IsWindow(handle_)) DestroyWindow(handle_);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND Handle() const { return handle_; }
  WindowId Id() const { return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(handle_)); }

 private:
  HWND handle_ = nullptr;
};

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// Child: shows a window until it is asked to close; the exit code says it was closed by that
// request.
const RegisterChildRole windowRole("window", [](const std::vector<std::string>& args) {
  TestWindow window(args.at(0), args.at(1));
  if (!window.Handle()) return 1;
  SetEventNamed(args.at(2));
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return static_cast<int>(message.wParam);
});

// Titles and classes as the program meets them: Japanese, full-width, brackets, and plain
// ASCII. A lookup that passes UTF-8 bytes to an ANSI function misses all but the last; one
// that converts to the ANSI code page first still misses a title code page 932 cannot hold.
struct NameRow {
  const char* title;
  const char* className;
};
constexpr NameRow kNames[] = {
    {"[1]情報処理 - 試験", "TfrmQZMain試験"},
    {"提出用ファイル作成", "ＡＢＣクラス"},
    {"Ｅｘｃｅｌ　ブック１", "XLMAIN"},
    {"Résumé – 履歴書", "ExamoraÉtude"},
    {"Examora probe window", "ExamoraProbeClass"},
};

}  // namespace

TEST_CASE("windows: another process's window found by title and class, closed by request") {
  for (const NameRow& row : kNames) {
    CAPTURE(row.title);
    const std::string title = std::string(row.title) + " " + UniqueName("w");
    const std::string className = std::string(row.className) + UniqueName("c");
    Event ready(UniqueName("window"));
    Child child({"window", title, className, ready.Name()});
    REQUIRE(ready.WaitFor(20000));

    const std::optional<WindowId> byTitle = FindTopLevelWindowByTitle(title);
    const std::optional<WindowId> byClass = FindTopLevelWindowByClass(className);
    REQUIRE(byTitle.has_value());
    CHECK(byClass == byTitle);
    DWORD owner = 0;
    GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(*byTitle)), &owner);
    CHECK(owner == child.Id());
    // A title that is only the start of the real one is not it.
    CHECK_FALSE(FindTopLevelWindowByTitle(title.substr(0, title.size() - 1)).has_value());

    CHECK(CloseFirstWindowTitled(title));
    CHECK(child.Wait(20000) == DWORD{kClosedByRequest});
    CHECK_FALSE(FindTopLevelWindowByTitle(title).has_value());
  }
  CHECK_FALSE(FindTopLevelWindowByTitle("").has_value());
  CHECK_FALSE(CloseFirstWindowTitled("誰も使わない題名 " + UniqueName("none")));
}

TEST_CASE("windows: ForceForeground brings a window to the front") {
  TestWindow first("前面テスト一", "ExamoraFront1"), second("前面テスト二", "ExamoraFront2");
  REQUIRE(first.Handle());
  REQUIRE(second.Handle());
  PumpMessages();
  SetForegroundWindow(first.Handle());
  PumpMessages();
  if (GetForegroundWindow() != first.Handle()) {
    PrintSkip("ForceForeground", "this display driver keeps no foreground window");
    return;
  }
  for (ForegroundAttach attach : {ForegroundAttach::WhenOtherThread, ForegroundAttach::Always}) {
    SetForegroundWindow(first.Handle());
    PumpMessages();
    CHECK(ForceForeground(second.Id(), attach));
    PumpMessages();
    CHECK(GetForegroundWindow() == second.Handle());
    CHECK(GetTopWindow(nullptr) == second.Handle());
  }

  // Another process's window: the case the exam's on-top guard meets.
  Event ready(UniqueName("window"));
  const std::string title = "他のプロセス " + UniqueName("w");
  Child child({"window", title, "ExamoraOther" + UniqueName("c"), ready.Name()});
  REQUIRE(ready.WaitFor(20000));
  const std::optional<WindowId> other = FindTopLevelWindowByTitle(title);
  REQUIRE(other.has_value());
  SetForegroundWindow(first.Handle());
  PumpMessages();
  CHECK(ForceForeground(*other));
  CHECK(GetForegroundWindow() == reinterpret_cast<HWND>(static_cast<std::uintptr_t>(*other)));
  CHECK_FALSE(ForceForeground(0));
}

TEST_CASE("system menu: minimise, close and restore are gone, the rest stays") {
  TestWindow window("システムメニュー", "ExamoraSysMenu");
  REQUIRE(window.Handle());
  HMENU menu = GetSystemMenu(window.Handle(), FALSE);
  REQUIRE(menu);
  const auto present = [&](UINT command) {
    return GetMenuState(GetSystemMenu(window.Handle(), FALSE), command, MF_BYCOMMAND) !=
           static_cast<UINT>(-1);
  };
  REQUIRE(present(SC_CLOSE));
  REQUIRE(present(SC_MINIMIZE));
  CHECK(RemoveTaskbarMenuCommands(window.Id()));
  CHECK_FALSE(present(SC_MINIMIZE));
  CHECK_FALSE(present(SC_CLOSE));
  CHECK_FALSE(present(SC_RESTORE));
  CHECK(present(SC_MOVE));
  // Twice is harmless; no window is an error.
  CHECK(RemoveTaskbarMenuCommands(window.Id()));
  CHECK_FALSE(RemoveTaskbarMenuCommands(0));
}

TEST_CASE("system metrics: the primary screen as the display reports it") {
  const std::optional<NativeMetrics> metrics = NativeSystemMetrics();
  REQUIRE(metrics.has_value());
  HDC screen = GetDC(nullptr);
  CHECK(metrics->cxScreen == GetDeviceCaps(screen, HORZRES));
  CHECK(metrics->cyScreen == GetDeviceCaps(screen, VERTRES));
  ReleaseDC(nullptr, screen);
  CHECK(metrics->cyCaption > 0);
  CHECK(metrics->cxFrame > 0);
  CHECK(metrics->cyFrame > 0);
  // A maximised window covers the work area and its frame overhangs it.
  RECT work{};
  REQUIRE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  CHECK(metrics->cyMaximized >= work.bottom - work.top);
}

TEST_CASE("OS information: the version the registry states and the installed memory") {
  const OsInfo info = QueryOsInfo();
  HKEY key = nullptr;
  REQUIRE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                        KEY_READ, &key) == ERROR_SUCCESS);
  wchar_t build[32] = {};
  DWORD size = sizeof build;
  REQUIRE(RegQueryValueExW(key, L"CurrentBuildNumber", nullptr, nullptr,
                           reinterpret_cast<BYTE*>(build), &size) == ERROR_SUCCESS);
  DWORD major = 0;
  size = sizeof major;
  const bool hasMajor = RegQueryValueExW(key, L"CurrentMajorVersionNumber", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(&major), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  CHECK(std::to_string(info.build) == WideToUtf8(build));
  if (hasMajor) CHECK(info.major == major);
  CHECK(info.major >= 6);  // not the Windows 8 answer of GetVersionEx without a manifest
  CHECK(info.platformId == "2");

  const std::optional<std::uint64_t> memory = TotalPhysicalMemory();
  REQUIRE(memory.has_value());
  // Wine runs on Linux, whose own count the memory must match.
  std::ifstream meminfo("Z:\\proc\\meminfo");
  std::string label;
  std::uint64_t kilobytes = 0;
  if (meminfo >> label >> kilobytes && label == "MemTotal:") {
    const double linuxBytes = static_cast<double>(kilobytes) * 1024;
    CHECK(static_cast<double>(*memory) > linuxBytes * 0.95);
    CHECK(static_cast<double>(*memory) < linuxBytes * 1.05);
  } else {
    CHECK(*memory > 0u);
  }
  const std::string line = FormatInformationValues(info, memory);
  CHECK(line == std::to_string(info.major) + "," + std::to_string(info.minor) + "," +
                    WideToUtf8(build) + "," + info.servicePack + ",2," + std::to_string(*memory));
}
