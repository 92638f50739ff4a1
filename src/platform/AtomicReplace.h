#pragma once

#include <string>
#include <string_view>

// Replacing a whole file so that a crash or a power loss at any moment leaves either the old
// or the new file, never a cut one. Every INI and answer write of the program ends here.
namespace examora {

struct [[nodiscard]] ReplaceResult {
  bool ok = false;
  std::string error;  // the system's text (UTF-8) when !ok
  explicit operator bool() const { return ok; }
};

// Writes bytes to a new temporary file beside `path` (UTF-8; "/" or "\" between folders),
// flushes it to the disk, renames it over the target and makes the rename itself durable.
//
// Never creates a missing folder. A target that is read-only fails and is left as it was (a
// rename would otherwise replace it on POSIX), as does a target that is a folder. The new file
// keeps the old file's permissions (POSIX mode and owner; Windows hidden/system/archive
// marks). On failure the temporary file is removed and the error is the system's own text.
//
// Windows: the temporary file is opened without sharing and written through; MoveFileExW
// with MOVEFILE_WRITE_THROUGH replaces the target. A target that another program holds open
// (a virus scanner, an editor, the next part) refuses the replace for as long as it is open,
// so the replace is tried kReplaceAttempts times, kReplaceRetryPauseMs apart, before the
// error is handed on.
// POSIX: fsync of the file, rename(2), then fsync of the folder. A symbolic link at `path`
// is written through: the file it points at is replaced, not the link.
ReplaceResult ReplaceFileAtomically(std::string_view path, std::string_view bytes);

inline constexpr int kReplaceAttempts = 5;
inline constexpr int kReplaceRetryPauseMs = 20;

// The temporary name the replace writes first: "." + the target's file name + a random part +
// ".tmp" in the target's folder. A crash leaves at most such a file behind, never a damaged
// target; nothing else in the folder is named like that.
[[nodiscard]] std::string TemporaryPathBeside(std::string_view path);

}  // namespace examora
