#include "platform/CpuLoad.h"

#include "platform/win32/Utf16.h"

#include <pdh.h>
#include <pdhmsg.h>

// The performance counters of pdh.dll, bound when first needed: a computer without the library
// or a function only loses the CPU log, never the exam.
namespace examora {
namespace {

using OpenQueryFn = PDH_STATUS(WINAPI*)(LPCWSTR, DWORD_PTR, PDH_HQUERY*);
using AddCounterFn = PDH_STATUS(WINAPI*)(PDH_HQUERY, LPCWSTR, DWORD_PTR, PDH_HCOUNTER*);
using CollectFn = PDH_STATUS(WINAPI*)(PDH_HQUERY);
using FormattedValueFn = PDH_STATUS(WINAPI*)(PDH_HCOUNTER, DWORD, LPDWORD, PPDH_FMT_COUNTERVALUE);
using CloseQueryFn = PDH_STATUS(WINAPI*)(PDH_HQUERY);

struct PdhFunctions {
  OpenQueryFn openQuery = nullptr;
  AddCounterFn addCounter = nullptr;
  CollectFn collect = nullptr;
  FormattedValueFn formattedValue = nullptr;
  CloseQueryFn closeQuery = nullptr;

  bool Complete() const {
    return openQuery && addCounter && collect && formattedValue && closeQuery;
  }
};

template <typename Function>
Function Bind(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Looked up once per process. The module is the one already loaded, or loaded from the system
// folder only, so that a pdh.dll placed beside the executable is never picked up.
const PdhFunctions& Pdh() {
  static const PdhFunctions functions = [] {
    PdhFunctions f;
    HMODULE module = GetModuleHandleW(L"pdh.dll");
    if (!module) module = LoadLibraryExW(L"pdh.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return f;
    f.openQuery = Bind<OpenQueryFn>(module, "PdhOpenQueryW");
    // The counter paths are the English names; PdhAddCounterW would need the names of the
    // system's display language (a Japanese Windows names the processor counters in Japanese).
    f.addCounter = Bind<AddCounterFn>(module, "PdhAddEnglishCounterW");
    if (!f.addCounter) f.addCounter = Bind<AddCounterFn>(module, "PdhAddCounterW");
    f.collect = Bind<CollectFn>(module, "PdhCollectQueryData");
    f.formattedValue = Bind<FormattedValueFn>(module, "PdhGetFormattedCounterValue");
    f.closeQuery = Bind<CloseQueryFn>(module, "PdhCloseQuery");
    return f;
  }();
  return functions;
}

class PdhCpuLoadMeter final : public CpuLoadMeter {
 public:
  explicit PdhCpuLoadMeter(const std::string& processInstance)
      : processPath_(win32::Utf8ToWide(ProcessCpuCounterPath(processInstance))) {}

  ~PdhCpuLoadMeter() override { Close(); }

  bool Start() override {
    const PdhFunctions& pdh = Pdh();
    if (!pdh.Complete()) return false;
    Close();
    if (pdh.openQuery(nullptr, 0, &totalQuery_) != ERROR_SUCCESS) totalQuery_ = nullptr;
    if (pdh.openQuery(nullptr, 0, &processQuery_) != ERROR_SUCCESS) processQuery_ = nullptr;
    if (!totalQuery_ || !processQuery_) return Fail();
    const std::wstring totalPath = win32::Utf8ToWide(kTotalCpuCounterPath);
    if (pdh.addCounter(totalQuery_, totalPath.c_str(), 0, &totalCounter_) != ERROR_SUCCESS ||
        pdh.addCounter(processQuery_, processPath_.c_str(), 0, &processCounter_) != ERROR_SUCCESS) {
      return Fail();
    }
    // Rate counters need a first sample to compute the next value from.
    pdh.collect(totalQuery_);
    pdh.collect(processQuery_);
    return true;
  }

  std::optional<CpuLoad> Next() override {
    if (!totalQuery_ || !processQuery_) return std::nullopt;
    const PdhFunctions& pdh = Pdh();
    pdh.collect(totalQuery_);
    pdh.collect(processQuery_);
    const std::optional<double> total = Read(totalCounter_, PDH_FMT_DOUBLE);
    // A process can use several processors at once; without NOCAP100 the value would stop at
    // 100.
    const std::optional<double> process = Read(processCounter_, PDH_FMT_DOUBLE | PDH_FMT_NOCAP100);
    if (!total || !process) return std::nullopt;
    return CpuLoad{*total, *process};
  }

 private:
  static std::optional<double> Read(PDH_HCOUNTER counter, DWORD format) {
    PDH_FMT_COUNTERVALUE value{};
    if (Pdh().formattedValue(counter, format, nullptr, &value) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    if (value.CStatus != PDH_CSTATUS_VALID_DATA && value.CStatus != PDH_CSTATUS_NEW_DATA) {
      return std::nullopt;
    }
    return value.doubleValue;
  }

  bool Fail() {
    Close();
    return false;
  }

  void Close() {
    const PdhFunctions& pdh = Pdh();
    if (totalQuery_ && pdh.closeQuery) pdh.closeQuery(totalQuery_);
    if (processQuery_ && pdh.closeQuery) pdh.closeQuery(processQuery_);
    totalQuery_ = nullptr;
    processQuery_ = nullptr;
    totalCounter_ = nullptr;
    processCounter_ = nullptr;
  }

  std::wstring processPath_;
  PDH_HQUERY totalQuery_ = nullptr;
  PDH_HQUERY processQuery_ = nullptr;
  PDH_HCOUNTER totalCounter_ = nullptr;
  PDH_HCOUNTER processCounter_ = nullptr;
};

}  // namespace

std::unique_ptr<CpuLoadMeter> CreateCpuLoadMeter(const std::string& processInstance) {
  return std::make_unique<PdhCpuLoadMeter>(processInstance);
}

}  // namespace examora
