#include "platform/FileAttributes.h"
#include "platform/win32/Utf16.h"

namespace examora {

void ClearReadOnlyAndHidden(const std::string& path) {
  const std::wstring native = win32::Utf8ToWide(path);
  const DWORD attributes = GetFileAttributesW(native.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  const DWORD cleared =
      attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  if (cleared != attributes) SetFileAttributesW(native.c_str(), cleared);
}

bool FilePathsIgnoreCase() {
  return true;
}

}  // namespace examora
