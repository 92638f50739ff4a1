#pragma once

// Shared by the Windows test files: child processes of this same program, temporary folders,
// events, and the SKIP line for what Wine cannot show.
#include "platform/win32/Utf16.h"

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace examora::wintest {

using win32::Utf8ToWide;
using win32::WideToUtf8;

// A role this program plays when started as "<exe> --child <role> args...": the tests start
// themselves again to have a real second process. The exit code is the role's answer.
using ChildRole = std::function<int(const std::vector<std::string>& args)>;
std::map<std::string, ChildRole>& ChildRoles();
struct RegisterChildRole {
  RegisterChildRole(const char* name, ChildRole role) { ChildRoles()[name] = std::move(role); }
};

// A running child; killed on destruction if it is still running.
class Child {
 public:
  // extraEnvironment: variables set for the child only ("NAME", "value").
  explicit Child(const std::vector<std::string>& args,
                 const std::vector<std::pair<std::string, std::string>>& extraEnvironment = {});
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return process_ != nullptr; }
  // GetLastError of the last failed CreateProcess, 0 once started.
  DWORD StartError() const { return startError_; }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_; }
  // The exit code, or nothing when it is still running after timeoutMs.
  std::optional<DWORD> Wait(DWORD timeoutMs);
  // TerminateProcess, as a crash or the task manager ends a program; waits until it is gone.
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  DWORD startError_ = 0;
};

// A manual-reset event by name, shared with a child that opens it by the same name.
class Event {
 public:
  explicit Event(const std::string& name);
  ~Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  const std::string& Name() const { return name_; }
  void Set();
  bool WaitFor(DWORD timeoutMs);

 private:
  std::string name_;
  HANDLE handle_ = nullptr;
};
void SetEventNamed(const std::string& name);
bool WaitEventNamed(const std::string& name, DWORD timeoutMs);

// A fresh folder under the user's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // UTF-8, with "\" and no trailing separator.
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  // File names directly inside, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

// This program's folder, UTF-8, without a trailing separator.
std::string SelfFolder();

// A name no other run of the tests uses at the same time.
std::string UniqueName(const std::string& prefix);

std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// The line the test stage shows for a check Wine cannot make; the test then returns.
void PrintSkip(const char* test, const std::string& reason);

}  // namespace examora::wintest
