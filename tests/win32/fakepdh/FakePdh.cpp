// A stand-in pdh.dll for the CPU load meter's tests: answers like the performance counters,
// refuses what the test tells it to, and counts the queries left open. The test program loads
// it before the meter binds its functions, so the meter finds it as "pdh.dll".
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <pdh.h>
#include <pdhmsg.h>

#include <set>
#include <string>

namespace {

enum Mode {
  kWorks = 0,
  kRefuseSecondQuery = 1,
  kRefuseTotalCounter = 2,
  kRefuseProcessCounter = 3,  // as Wine does: it has no per-process counters
  kInvalidData = 4,
};

struct Counter {
  bool process = false;
};

int g_mode = kWorks;
int g_opened = 0;
int g_badCloses = 0;
int g_englishAdds = 0;
int g_localizedAdds = 0;
std::set<void*> g_liveQueries;
std::wstring g_processPath;

PDH_STATUS Add(PDH_HQUERY query, LPCWSTR path, PDH_HCOUNTER* counter) {
  if (!g_liveQueries.count(query) || !path || !counter) return PDH_INVALID_HANDLE;
  const std::wstring text = path;
  const bool process = text.rfind(L"\\Process(", 0) == 0;
  if (process) g_processPath = text;
  if ((process && g_mode == kRefuseProcessCounter) || (!process && g_mode == kRefuseTotalCounter)) {
    return PDH_CSTATUS_NO_OBJECT;
  }
  // Counters belong to their query and go with it; the fake never frees them, which only
  // matters for the few the tests make.
  *counter = new Counter{process};
  return ERROR_SUCCESS;
}

}  // namespace

extern "C" {

__declspec(dllexport) void FakePdhScript(int mode) {
  g_mode = mode;
}
__declspec(dllexport) int FakePdhOpenQueries() {
  return static_cast<int>(g_liveQueries.size());
}
__declspec(dllexport) int FakePdhBadCloses() {
  return g_badCloses;
}
__declspec(dllexport) int FakePdhEnglishAdds() {
  return g_englishAdds;
}
__declspec(dllexport) int FakePdhLocalizedAdds() {
  return g_localizedAdds;
}
__declspec(dllexport) const wchar_t* FakePdhProcessPath() {
  return g_processPath.c_str();
}

__declspec(dllexport) PDH_STATUS WINAPI PdhOpenQueryW(LPCWSTR, DWORD_PTR, PDH_HQUERY* query) {
  if (g_mode == kRefuseSecondQuery && g_opened == 1) {
    *query = nullptr;
    return PDH_MEMORY_ALLOCATION_FAILURE;
  }
  ++g_opened;
  *query = new int(0);
  g_liveQueries.insert(*query);
  return ERROR_SUCCESS;
}

__declspec(dllexport) PDH_STATUS WINAPI
    PdhAddEnglishCounterW(PDH_HQUERY query, LPCWSTR path, DWORD_PTR, PDH_HCOUNTER* counter) {
  ++g_englishAdds;
  return Add(query, path, counter);
}

__declspec(dllexport) PDH_STATUS WINAPI
    PdhAddCounterW(PDH_HQUERY query, LPCWSTR path, DWORD_PTR, PDH_HCOUNTER* counter) {
  ++g_localizedAdds;
  return Add(query, path, counter);
}

__declspec(dllexport) PDH_STATUS WINAPI PdhCollectQueryData(PDH_HQUERY query) {
  return g_liveQueries.count(query) ? ERROR_SUCCESS : PDH_INVALID_HANDLE;
}

__declspec(dllexport) PDH_STATUS WINAPI
    PdhGetFormattedCounterValue(PDH_HCOUNTER counter, DWORD format, LPDWORD,
                                PPDH_FMT_COUNTERVALUE value) {
  if (!counter || !value) return PDH_INVALID_HANDLE;
  if (!(format & PDH_FMT_DOUBLE)) return PDH_INVALID_ARGUMENT;
  if (g_mode == kInvalidData) {
    value->CStatus = PDH_CSTATUS_INVALID_DATA;
    return PDH_INVALID_DATA;
  }
  // A process on several processors measures above 100 %, which PDH cuts unless told not to.
  double measured = static_cast<Counter*>(counter)->process ? 150.0 : 37.5;
  if (!(format & PDH_FMT_NOCAP100) && measured > 100) measured = 100;
  value->CStatus = PDH_CSTATUS_VALID_DATA;
  value->doubleValue = measured;
  return ERROR_SUCCESS;
}

__declspec(dllexport) PDH_STATUS WINAPI PdhCloseQuery(PDH_HQUERY query) {
  if (!g_liveQueries.erase(query)) {
    ++g_badCloses;
    return PDH_INVALID_HANDLE;
  }
  delete static_cast<int*>(query);
  return ERROR_SUCCESS;
}

}  // extern "C"
