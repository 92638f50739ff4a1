#include <doctest.h>

#include "Win32Test.h"
#include "platform/OpenFileProbe.h"

#include <cstdlib>

using namespace examora;
using namespace examora::wintest;

namespace {

// Child: opens the file with the given access and sharing, as the candidate's application
// does, and keeps it open until told to let go.
const RegisterChildRole openFile("open-file", [](const std::vector<std::string>& args) {
  HANDLE file =
      CreateFileW(Utf8ToWide(args.at(0)).c_str(), static_cast<DWORD>(std::stoul(args.at(1))),
                  static_cast<DWORD>(std::stoul(args.at(2))), nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  SetEventNamed(args.at(3));
  WaitEventNamed(args.at(4), INFINITE);
  CloseHandle(file);
  return 0;
});

struct HolderRow {
  const char* what;
  DWORD access;
  DWORD share;
  bool held;
};
// An office application keeps its document open for reading and writing and shares reading
// at most; a viewer may share everything. Any of them holds the file. A handle that only
// reads attributes (a file manager's) touches no data and does not.
constexpr HolderRow kHolders[] = {
    {"read and write, no sharing", GENERIC_READ | GENERIC_WRITE, 0, true},
    {"read and write, read shared", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, true},
    {"read, everything shared", GENERIC_READ,
     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true},
    {"attributes only", FILE_READ_ATTRIBUTES,
     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, false},
};

bool SetLastWrite(const std::string& path, WORD year, WORD month, WORD day, WORD hour) {
  HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  SYSTEMTIME utc{};
  utc.wYear = year;
  utc.wMonth = month;
  utc.wDay = day;
  utc.wHour = hour;
  FILETIME time{};
  const bool ok = SystemTimeToFileTime(&utc, &time) && SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
  return ok;
}

}  // namespace

TEST_CASE("open-file probe: a file another process holds open") {
  TempFolder dir;
  const std::string path = dir.File("表計算.xlsx");
  REQUIRE(WriteFileBytes(path, "data"));
  for (const HolderRow& row : kHolders) {
    const std::string what = row.what;
    CAPTURE(what);
    Event opened(UniqueName("opened")), release(UniqueName("release"));
    Child child({"open-file", path, std::to_string(row.access), std::to_string(row.share),
                 opened.Name(), release.Name()});
    REQUIRE(opened.WaitFor(20000));
    const OpenFileProbeResult probe = ProbeOpenFile(path);
    CHECK(probe.HeldOpen() == row.held);
    CHECK(probe.Readable() == !row.held);
    if (row.held) CHECK_FALSE(probe.error.empty());
    release.Set();
    REQUIRE(child.Wait(20000) == 0u);
    // Let go, the file reads again; the probe itself kept nothing open.
    CHECK(ProbeOpenFile(path).Readable());
    CHECK(ProbeOpenFilesIn(dir.Path(), {"表計算.xlsx"}).at(0).Readable());
  }
  const OpenFileProbeResult missing = ProbeOpenFile(dir.File("無い.docx"));
  CHECK(missing.outcome == OpenFileProbeResult::Outcome::Failed);
  CHECK_FALSE(missing.error.empty());
}

TEST_CASE("open-file probe: the last-write time in local time by the rule of its date") {
  // tests/win32/run.sh runs the tests in Berlin time: one hour ahead of UTC in winter, two in
  // summer, so the summer rule must apply to a summer file also in winter and the other way.
  const char* zone = std::getenv("TZ");
  if (!zone || std::string(zone) != "Europe/Berlin") {
    PrintSkip("open-file probe local time", "needs TZ=Europe/Berlin (set by tests/win32/run.sh)");
    return;
  }
  using namespace std::chrono;
  struct Row {
    WORD month, day, hour;
    local_seconds expected;
  };
  const Row rows[] = {
      {1, 15, 9, local_days{year{2026} / 1 / 15} + hours{10}},
      {7, 15, 9, local_days{year{2026} / 7 / 15} + hours{11}},
      {12, 31, 23, local_days{year{2027} / 1 / 1} + hours{0}},
  };
  TempFolder dir;
  const std::string path = dir.File("報告書.docx");
  REQUIRE(WriteFileBytes(path, "data"));
  for (const Row& row : rows) {
    CAPTURE(row.month);
    REQUIRE(SetLastWrite(path, 2026, row.month, row.day, row.hour));
    const OpenFileProbeResult probe = ProbeOpenFile(path);
    REQUIRE(probe.Readable());
    CHECK(probe.lastWrite == row.expected);
  }
}
