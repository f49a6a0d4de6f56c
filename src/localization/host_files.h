// The host's folder and the few file operations the module needs.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

// The folder of the host's executable, with its trailing backslash.
std::string HostFolder();

// The file-system path of a shell special folder (a CSIDL number) into a
// buffer of at least 260 bytes.
bool GetSpecialFolderPath(int csidl, char* buffer);

// True when a file or a folder of that name exists.
bool FileExists(const char* path);

// Reads the file from `offset` to its end into a new zero-filled block one
// byte longer (the bytes, then a zero byte) and returns the number of bytes
// read. Returns 0 and leaves `out` empty when the file is missing,
// unreadable, or empty from the offset on.
std::size_t ReadWholeFile(const char* path, std::unique_ptr<char[]>& out, std::size_t offset);
