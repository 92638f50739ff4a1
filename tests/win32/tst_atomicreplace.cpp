#include <doctest.h>

#include "Win32Test.h"
#include "platform/AtomicReplace.h"

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

using namespace examora;
using namespace examora::wintest;

namespace {

// Version n of the writer child's file: a header naming n and the length, then a body that
// depends on n throughout, so that any cut or mix of two versions is seen. Sizes vary from a
// few bytes to about 600 KB so that a kill often lands inside the write.
std::string Version(unsigned n) {
  const std::size_t length = (n * 7919u) % 600000u;
  std::string bytes = "v" + std::to_string(n) + " " + std::to_string(length) + "\r\n";
  bytes.reserve(bytes.size() + length);
  for (std::size_t i = 0; i < length; ++i) bytes += static_cast<char>('A' + (n + i) % 26);
  return bytes;
}

// The version the bytes are, or nothing when they are not exactly one whole version.
std::optional<unsigned> WholeVersion(const std::string& bytes) {
  if (bytes.size() < 2 || bytes[0] != 'v') return std::nullopt;
  const unsigned n = static_cast<unsigned>(std::strtoul(bytes.c_str() + 1, nullptr, 10));
  if (bytes != Version(n)) return std::nullopt;
  return n;
}

// Child: replaces the file with version after version until it is killed.
const RegisterChildRole writer("writer", [](const std::vector<std::string>& args) {
  const std::string& path = args.at(0);
  unsigned n = static_cast<unsigned>(std::stoul(args.at(1)));
  SetEventNamed(args.at(2));
  for (;;) {
    if (!ReplaceFileAtomically(path, Version(++n))) return 1;
  }
});

// Child: opens the file without delete sharing, as a virus scanner or an editor does, and
// keeps it open until told to let go.
const RegisterChildRole holder("holder", [](const std::vector<std::string>& args) {
  HANDLE file =
      CreateFileW(Utf8ToWide(args.at(0)).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  SetEventNamed(args.at(1));
  WaitEventNamed(args.at(2), INFINITE);
  CloseHandle(file);
  return 0;
});

bool IsTemporaryOf(const std::string& entry, const std::string& target) {
  return entry.rfind("." + target + ".", 0) == 0 && entry.size() > 4 &&
         entry.compare(entry.size() - 4, 4, ".tmp") == 0;
}

int KillCount() {
  const char* value = std::getenv("EXAMORA_WINE_KILLS");
  return value ? std::atoi(value) : 200;
}

}  // namespace

TEST_CASE("replace: a writer killed at random moments leaves a whole old or new file") {
  TempFolder dir;
  // No file at first: until the first replace is through, "absent" is the old state.
  const std::string target = dir.File("a.csv");
  bool written = false;

  std::mt19937 random(std::random_device{}());
  const int kills = KillCount();
  int killedMidWrite = 0;
  int killedStarting = 0;
  for (int round = 0; round < kills; ++round) {
    Event ready(UniqueName("writer-ready"));
    Child child({"writer", target, std::to_string(round * 1000000), ready.Name()});
    REQUIRE_MESSAGE(child.Started(),
                    "CreateProcess error " << child.StartError() << " in round " << round);
    // One kill in four lands while the child is still starting; the others while it writes.
    if (random() % 4 == 0) {
      Sleep(random() % 40);
      if (!ready.WaitFor(0)) ++killedStarting;
    } else {
      REQUIRE(ready.WaitFor(20000));
      Sleep(random() % 25);
    }
    child.Kill();

    const std::optional<std::string> bytes = ReadFileBytes(target);
    REQUIRE_MESSAGE((bytes.has_value() || !written), "the target vanished in round " << round);
    if (bytes) {
      REQUIRE_MESSAGE(WholeVersion(*bytes).has_value(),
                      "a cut file of " << bytes->size() << " bytes in round " << round);
      written = true;
    }
    // Anything else in the folder must be a temporary file of the write the kill cut short.
    bool leftTemporary = false;
    for (const std::string& entry : dir.Entries()) {
      if (entry == "a.csv") continue;
      REQUIRE_MESSAGE(IsTemporaryOf(entry, "a.csv"), "unexpected file " << entry);
      leftTemporary = true;
      DeleteFileW(Utf8ToWide(dir.File(entry)).c_str());
    }
    if (leftTemporary) ++killedMidWrite;
  }
  MESSAGE(kills << " kills: " << killedMidWrite << " in the middle of a write, " << killedStarting
                << " while starting");
  // Without kills inside a write the test would prove nothing.
  CHECK(killedMidWrite > kills / 10);
}

TEST_CASE("replace: a target held open without delete sharing is retried, then refused intact") {
  TempFolder dir;
  const std::string target = dir.File("setup.ini");
  const std::string oldBytes = "[s]\r\nk=古い値\r\n";
  REQUIRE(WriteFileBytes(target, oldBytes));

  Event held(UniqueName("held")), release(UniqueName("release"));
  Child child({"holder", target, held.Name(), release.Name()});
  REQUIRE(held.WaitFor(20000));
  const auto started = std::chrono::steady_clock::now();
  const ReplaceResult result = ReplaceFileAtomically(target, "[s]\r\nk=new\r\n");
  const auto took = std::chrono::steady_clock::now() - started;
  CHECK_FALSE(result.ok);
  wchar_t expected[512] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 ERROR_ACCESS_DENIED, 0, expected, 512, nullptr);
  std::string expectedText = WideToUtf8(expected);
  while (!expectedText.empty() && (expectedText.back() == '\n' || expectedText.back() == '\r' ||
                                   expectedText.back() == ' ')) {
    expectedText.pop_back();
  }
  CHECK(result.error == expectedText);
  CHECK(took >= std::chrono::milliseconds((kReplaceAttempts - 1) * kReplaceRetryPauseMs));
  CHECK(ReadFileBytes(target) == oldBytes);
  CHECK(dir.Entries() == std::vector<std::string>{"setup.ini"});
  release.Set();
  CHECK(child.Wait(20000) == 0u);
}

TEST_CASE("replace: read-only target, folder in its place, missing folder") {
  TempFolder dir;
  const std::string target = dir.File("seito[1].ini");
  REQUIRE(WriteFileBytes(target, "old"));
  REQUIRE(SetFileAttributesW(Utf8ToWide(target).c_str(), FILE_ATTRIBUTE_READONLY));
  const ReplaceResult readOnly = ReplaceFileAtomically(target, "new");
  CHECK_FALSE(readOnly.ok);
  CHECK_FALSE(readOnly.error.empty());
  CHECK(ReadFileBytes(target) == std::string("old"));

  REQUIRE(CreateDirectoryW(Utf8ToWide(dir.File("folder.ini")).c_str(), nullptr));
  CHECK_FALSE(ReplaceFileAtomically(dir.File("folder.ini"), "new").ok);

  const std::string missing = dir.File("無い\\a.csv");
  CHECK_FALSE(ReplaceFileAtomically(missing, "new").ok);
  CHECK(GetFileAttributesW(Utf8ToWide(dir.File("無い")).c_str()) == INVALID_FILE_ATTRIBUTES);
  CHECK(dir.Entries() == std::vector<std::string>{"folder.ini", "seito[1].ini"});
}

TEST_CASE("replace: hidden and archive marks survive, forward slashes are taken") {
  TempFolder dir;
  const std::string target = dir.File("shiken.ini");
  REQUIRE(WriteFileBytes(target, "old"));
  REQUIRE(SetFileAttributesW(Utf8ToWide(target).c_str(),
                             FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  std::string slashed = target;
  for (char& c : slashed) c = c == '\\' ? '/' : c;
  REQUIRE(ReplaceFileAtomically(slashed, "new").ok);
  CHECK(ReadFileBytes(target) == std::string("new"));
  CHECK((GetFileAttributesW(Utf8ToWide(target).c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0);
}
