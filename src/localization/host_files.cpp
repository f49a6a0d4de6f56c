#include "localization/host_files.h"

#include <windows.h>
#include <shlobj.h>

#include <new>
#include <utility>

std::string HostFolder() {
  char path[512] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path - 1);
  std::string folder(path, length < sizeof path ? length : 0);
  const std::size_t cut = folder.rfind('\\');
  folder.resize(cut == std::string::npos ? 0 : cut + 1);
  return folder;
}

bool GetSpecialFolderPath(int csidl, char* buffer) {
  if (!buffer) return false;
  return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer));
}

bool FileExists(const char* path) {
  return path && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

std::size_t ReadWholeFile(const char* path, std::unique_ptr<char[]>& out, std::size_t offset) {
  out.reset();
  if (!path) return 0;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  std::size_t read = 0;
  LARGE_INTEGER size{};
  // Files beyond 1 GB are not the host's: refuse them rather than allocate.
  if (GetFileSizeEx(file, &size) && size.QuadPart > LONGLONG(offset) && size.QuadPart < (LONGLONG(1) << 30)) {
    const std::size_t wanted = std::size_t(size.QuadPart) - offset;
    LARGE_INTEGER move{};
    move.QuadPart = LONGLONG(offset);
    std::unique_ptr<char[]> block(new (std::nothrow) char[wanted + 1]());
    DWORD got = 0;
    if (block && SetFilePointerEx(file, move, nullptr, FILE_BEGIN) &&
        ReadFile(file, block.get(), DWORD(wanted), &got, nullptr) && got == wanted) {
      out = std::move(block);
      read = wanted;
    }
  }
  CloseHandle(file);
  return read;
}
