#include <doctest.h>

#include "Win32Test.h"
#include "platform/CpuLoad.h"

#include <pdh.h>

using namespace examora;
using namespace examora::wintest;

TEST_CASE("CPU load: the total counter path is one the system knows") {
  PDH_HQUERY query = nullptr;
  REQUIRE(PdhOpenQueryW(nullptr, 0, &query) == ERROR_SUCCESS);
  PDH_HCOUNTER counter = nullptr;
  CHECK(PdhAddEnglishCounterW(query, Utf8ToWide(kTotalCpuCounterPath).c_str(), 0, &counter) ==
        ERROR_SUCCESS);
  PdhCloseQuery(query);
}

TEST_CASE("CPU load: the meter over the system's counters") {
  const std::unique_ptr<CpuLoadMeter> meter = CreateCpuLoadMeter("[1]情報処理");
  if (!meter->Start()) {
    // Wine has no per-process counters; the monitor then stays off without a word.
    PrintSkip("CPU load values", "the per-process counter is refused here (Wine has none)");
    CHECK_FALSE(meter->Next().has_value());
    return;
  }
  Sleep(200);
  const std::optional<CpuLoad> load = meter->Next();
  REQUIRE(load.has_value());
  CHECK(load->total >= 0);
  CHECK(load->total <= 100);
  CHECK(load->process >= 0);
}

namespace {

template <typename Function>
Function Export(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Child: loads the stand-in pdh.dll before the meter binds its functions, runs the meter
// through a start, a sample and its end, and writes what the counters saw.
const RegisterChildRole fakePdh("pdh-fake", [](const std::vector<std::string>& args) {
  HMODULE fake = LoadLibraryW(Utf8ToWide(args.at(0)).c_str());
  const auto script = Export<void (*)(int)>(fake, "FakePdhScript");
  if (!fake || !script || GetModuleHandleW(L"pdh.dll") != fake) return 2;
  const auto count = [fake](const char* name) { return Export<int (*)()>(fake, name)(); };
  script(std::stoi(args.at(1)));

  std::unique_ptr<CpuLoadMeter> meter = CreateCpuLoadMeter("[1]情報処理");
  const bool started = meter->Start();
  const int openAfterStart = count("FakePdhOpenQueries");
  const std::optional<CpuLoad> load = meter->Next();
  meter.reset();
  std::string report =
      "start=" + std::to_string(started) + " open=" + std::to_string(openAfterStart) + " next=" +
      (load ? std::to_string(load->total) + "/" + std::to_string(load->process)
            : std::string("-")) +
      " open-at-end=" + std::to_string(count("FakePdhOpenQueries")) +
      " bad-closes=" + std::to_string(count("FakePdhBadCloses")) +
      " localized-adds=" + std::to_string(count("FakePdhLocalizedAdds")) +
      " process-path=" + WideToUtf8(Export<const wchar_t* (*)()>(fake, "FakePdhProcessPath")());
  return WriteFileBytes(args.at(2), report) ? 0 : 1;
});

struct PdhRow {
  int mode;
  const char* what;
  const char* expected;
};
// The process counter reaches the system under the English name, as UTF-16 of the UTF-8
// instance name; after a refusal nothing further is asked.
constexpr PdhRow kPdhRows[] = {
    {0, "both counters work",
     "start=1 open=2 next=37.500000/150.000000 open-at-end=0 bad-closes=0 localized-adds=0 "
     "process-path=\\Process([1]情報処理)\\% Processor Time"},
    {1, "the second query is refused",
     "start=0 open=0 next=- open-at-end=0 bad-closes=0 localized-adds=0 process-path="},
    {2, "the total counter is refused",
     "start=0 open=0 next=- open-at-end=0 bad-closes=0 localized-adds=0 process-path="},
    {3, "the process counter is refused",
     "start=0 open=0 next=- open-at-end=0 bad-closes=0 localized-adds=0 "
     "process-path=\\Process([1]情報処理)\\% Processor Time"},
    {4, "samples are not valid",
     "start=1 open=2 next=- open-at-end=0 bad-closes=0 localized-adds=0 "
     "process-path=\\Process([1]情報処理)\\% Processor Time"},
};

}  // namespace

TEST_CASE("CPU load: every way the counters fail turns the meter off and closes them") {
  const std::string dll = SelfFolder() + "\\fakepdh\\pdh.dll";
  if (GetFileAttributesW(Utf8ToWide(dll).c_str()) == INVALID_FILE_ATTRIBUTES) {
    PrintSkip("CPU load with a scripted pdh.dll", "fakepdh\\pdh.dll is not beside the program");
    return;
  }
  TempFolder dir;
  for (const PdhRow& row : kPdhRows) {
    const std::string what = row.what;
    CAPTURE(what);
    const std::string reportPath = dir.File("pdh.txt");
    // Wine prefers its own pdh.dll to a file of that name unless told otherwise.
    Child child({"pdh-fake", dll, std::to_string(row.mode), reportPath},
                {{"WINEDLLOVERRIDES", "mscoree,mshtml=;pdh=n"}});
    const std::optional<DWORD> code = child.Wait(20000);
    REQUIRE(code.has_value());
    if (*code == 2) {
      PrintSkip("CPU load with a scripted pdh.dll", "the system loaded its own pdh.dll instead");
      return;
    }
    REQUIRE(*code == 0u);
    const std::string report = ReadFileBytes(reportPath).value_or("");
    CHECK(report == std::string(row.expected));
  }
}
