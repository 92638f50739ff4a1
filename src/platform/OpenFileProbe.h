#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// "Can this file be opened for reading without sharing it, and when was it last written?" —
// asked of every work file before a practical part ends: a file another program still holds
// may not be on disk as the candidate sees it, and would be graded incomplete.
//
// Windows: CreateFileW with share mode 0; a sharing or lock violation means another program
// has the file open. The last-write time is read from that handle and converted to local time
// (with the daylight-saving rule of that date, not of today).
// POSIX: files are not opened exclusively, so "held open" means another process holds an
// fcntl lock on any part of the file (open file description locks, F_OFD_GETLK, falling back
// to F_GETLK on kernels without them), or an office program's owner file stands beside it:
// ".~lock.<name>#" or "~$<name>". The last-write time is the file's mtime in local time.
//
// The probe never writes to the file and never keeps it open: the handle is closed before the
// function returns.
namespace examora {

struct OpenFileProbeResult {
  enum class Outcome { Readable, HeldOpen, Failed };
  Outcome outcome = Outcome::Failed;
  // Local wall-clock time of the last write, whole seconds (fractions cut off); set when
  // Readable.
  std::chrono::local_seconds lastWrite{};
  // The system's text for Failed (e.g. permission denied), or what holds the file for
  // HeldOpen ("locked by another process", the owner file's name).
  std::string error;

  bool Readable() const { return outcome == Outcome::Readable; }
  bool HeldOpen() const { return outcome == Outcome::HeldOpen; }
};

// `path` is UTF-8 (any name, also ones no ANSI code page can hold).
[[nodiscard]] OpenFileProbeResult ProbeOpenFile(std::string_view path);

// The same for several files of one folder (`names` without separators), one result per name
// in order. A whole work folder is probed at a time: on POSIX the folder is read once for owner
// files and every file is opened relative to it instead of walking its full path again.
[[nodiscard]] std::vector<OpenFileProbeResult> ProbeOpenFilesIn(
    std::string_view folder, const std::vector<std::string>& names);

}  // namespace examora
