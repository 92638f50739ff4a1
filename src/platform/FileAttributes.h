#pragma once

#include <string>

// File-system behaviour that differs between the systems the program runs on.
namespace examora {

// Makes the file writable and visible again: Windows clears the read-only and hidden
// attributes; elsewhere the owner gets write permission back (a hidden file there is a name
// with a leading dot, which no attribute can change). Failures are ignored: the caller only
// wants to give the next writer a chance. The path is UTF-8.
void ClearReadOnlyAndHidden(const std::string& path);

// Whether two paths that differ only in letter case name the same file (Windows: yes).
bool FilePathsIgnoreCase();

}  // namespace examora
