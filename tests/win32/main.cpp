#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest.h>

#include "Win32Test.h"

#include <algorithm>
#include <atomic>
#include <random>

namespace examora::wintest {

std::map<std::string, ChildRole>& ChildRoles() {
  static std::map<std::string, ChildRole> roles;
  return roles;
}

namespace {

std::wstring SelfPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// Quoting by the rules CommandLineToArgvW undoes.
void AppendQuoted(std::wstring& line, const std::wstring& arg) {
  line += L'"';
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

std::string SelfFolder() {
  const std::wstring self = SelfPath();
  return WideToUtf8(self.substr(0, self.find_last_of(L'\\')));
}

Child::Child(const std::vector<std::string>& args,
             const std::vector<std::pair<std::string, std::string>>& extraEnvironment) {
  std::wstring line;
  AppendQuoted(line, SelfPath());
  line += L" --child";
  for (const std::string& arg : args) {
    line += L' ';
    AppendQuoted(line, Utf8ToWide(arg));
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  // The child inherits this process's environment as it is at the start; ours is put back.
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved;
  for (const auto& [name, value] : extraEnvironment) {
    const std::wstring wideName = Utf8ToWide(name);
    wchar_t old[4096];
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), old, 4096);
    saved.emplace_back(
        wideName, length > 0 && length < 4096 ? std::optional<std::wstring>(old) : std::nullopt);
    SetEnvironmentVariableW(wideName.c_str(), Utf8ToWide(value).c_str());
  }
  // Under Wine about one start in a few thousand fails with ERROR_INTERNAL_ERROR (1359) while
  // children are being killed in quick succession; no fault of the code under test, so a start
  // is tried a few times.
  BOOL created = FALSE;
  for (int attempt = 0; attempt < 5 && !created; ++attempt) {
    if (attempt > 0) Sleep(200);
    created = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info);
    if (!created) startError_ = GetLastError();
  }
  for (const auto& [name, value] : saved) {
    SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
  }
  if (created) {
    startError_ = 0;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
}

Child::~Child() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) Kill();
  CloseHandle(process_);
}

std::optional<DWORD> Child::Wait(DWORD timeoutMs) {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void Child::Kill() {
  if (!process_) return;
  TerminateProcess(process_, 9);
  WaitForSingleObject(process_, INFINITE);
}

Event::Event(const std::string& name)
    : name_(name), handle_(CreateEventW(nullptr, TRUE, FALSE, Utf8ToWide(name).c_str())) {}

Event::~Event() {
  if (handle_) CloseHandle(handle_);
}

void Event::Set() {
  SetEvent(handle_);
}

bool Event::WaitFor(DWORD timeoutMs) {
  return WaitForSingleObject(handle_, timeoutMs) == WAIT_OBJECT_0;
}

void SetEventNamed(const std::string& name) {
  HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, Utf8ToWide(name).c_str());
  if (!event) return;
  SetEvent(event);
  CloseHandle(event);
}

bool WaitEventNamed(const std::string& name, DWORD timeoutMs) {
  HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, Utf8ToWide(name).c_str());
  if (!event) return false;
  const bool set = WaitForSingleObject(event, timeoutMs) == WAIT_OBJECT_0;
  CloseHandle(event);
  return set;
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, base);
  std::wstring folder(base, length);
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  // Japanese in the folder name: every path the backends take must survive it.
  folder += L"\\examora試験_" + Utf8ToWide(UniqueName("t"));
  CreateDirectoryW(folder.c_str(), nullptr);
  path_ = WideToUtf8(folder);
}

TempFolder::~TempFolder() {
  RemoveTree(Utf8ToWide(path_));
}

std::vector<std::string> TempFolder::Entries() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((Utf8ToWide(path_) + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(WideToUtf8(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::string UniqueName(const std::string& prefix) {
  static std::atomic<unsigned> counter{0};
  static const unsigned salt = std::random_device{}();
  return prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(salt) + "-" +
         std::to_string(counter++);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  CloseHandle(file);
  return ok;
}

void PrintSkip(const char* test, const std::string& reason) {
  std::printf("SKIP: %s: %s\n", test, reason.c_str());
  std::fflush(stdout);
}

}  // namespace examora::wintest

int wmain(int argc, wchar_t** argv) {
  using namespace examora::wintest;
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(WideToUtf8(argv[i]));

  if (args.size() >= 3 && args[1] == "--child") {
    const auto role = ChildRoles().find(args[2]);
    if (role == ChildRoles().end()) return 100;
    return role->second(std::vector<std::string>(args.begin() + 3, args.end()));
  }

  std::printf("ANSI code page %u, OEM code page %u\n", GetACP(), GetOEMCP());
  std::vector<char*> pointers;
  for (std::string& arg : args) pointers.push_back(arg.data());
  doctest::Context context(static_cast<int>(pointers.size()), pointers.data());
  return context.run();
}
