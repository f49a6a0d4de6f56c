#include "version_resource.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "text.h"

namespace simapp {
namespace {

// Language of the resource in simeditor.rc: replacing it under the same
// language keeps a single version resource in the copy.
constexpr WORD kLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

using Bytes = std::vector<unsigned char>;

void Pad4(Bytes& b) {
  while (b.size() % 4) b.push_back(0);
}

void PutWord(Bytes& b, WORD w) {
  b.push_back(BYTE(w & 0xFF));
  b.push_back(BYTE(w >> 8));
}

void PutWide(Bytes& b, const std::wstring& s) {
  for (wchar_t c : s) PutWord(b, WORD(c));
  PutWord(b, 0);
}

// One node of the version tree: header, key, value, children, each aligned
// to 4 bytes from the node's start (nodes start aligned).
Bytes Node(const std::wstring& key, WORD type, const Bytes& value, WORD valueLength, const std::vector<Bytes>& children) {
  Bytes b;
  PutWord(b, 0);  // length, filled in below
  PutWord(b, valueLength);
  PutWord(b, type);
  PutWide(b, key);
  Pad4(b);
  b.insert(b.end(), value.begin(), value.end());
  for (const Bytes& child : children) {
    Pad4(b);
    b.insert(b.end(), child.begin(), child.end());
  }
  b[0] = BYTE(b.size() & 0xFF);
  b[1] = BYTE(b.size() >> 8);
  return b;
}

Bytes StringNode(const std::wstring& key, const std::wstring& text) {
  Bytes value;
  PutWide(value, text);
  return Node(key, 1, value, WORD(text.size() + 1), {});
}

Bytes VersionInfo(int major, const std::string& product) {
  VS_FIXEDFILEINFO fixed{};
  fixed.dwSignature = 0xFEEF04BD;
  fixed.dwStrucVersion = 0x00010000;
  fixed.dwFileVersionMS = DWORD(major) << 16;
  fixed.dwProductVersionMS = DWORD(major) << 16;
  fixed.dwFileFlagsMask = 0x3F;
  fixed.dwFileOS = VOS_NT_WINDOWS32;
  fixed.dwFileType = VFT_APP;
  Bytes fixedBytes(sizeof fixed);
  std::memcpy(fixedBytes.data(), &fixed, sizeof fixed);

  const std::wstring version = std::to_wstring(major) + L".0.0.0";
  const std::wstring name = product == "Photoshop" ? L"Photoshop" : L"Photoshop Elements Editor";
  Bytes table = Node(L"040904b0", 1, {}, 0,
                     {StringNode(L"CompanyName", L"Quillbright project"), StringNode(L"FileDescription", name),
                      StringNode(L"FileVersion", version), StringNode(L"ProductName", name),
                      StringNode(L"ProductVersion", version)});
  Bytes strings = Node(L"StringFileInfo", 1, {}, 0, {table});
  Bytes translation;
  PutWord(translation, kLanguage);
  PutWord(translation, 1200);  // Unicode
  Bytes var = Node(L"VarFileInfo", 1, {}, 0, {Node(L"Translation", 0, translation, 4, {})});
  return Node(L"VS_VERSION_INFO", 0, fixedBytes, WORD(sizeof fixed), {strings, var});
}

std::string LastError(const char* what) {
  return std::string(what) + " failed (error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

std::string WriteVersionResource(const std::wstring& path, int major, const std::string& product) {
  // Version 0: the copy keeps no resources at all (the version resource is
  // its only one). Replacing a resource with nothing does not remove it
  // everywhere, dropping all of them does.
  HANDLE update = BeginUpdateResourceW(path.c_str(), major == 0);
  if (!update) return LastError("BeginUpdateResource");
  if (major > 0) {
    Bytes info = VersionInfo(major, product);
    if (!UpdateResourceW(update, MAKEINTRESOURCEW(16) /* RT_VERSION */, MAKEINTRESOURCEW(1), kLanguage, info.data(),
                         DWORD(info.size()))) {
      std::string error = LastError("UpdateResource");
      EndUpdateResourceW(update, TRUE);
      return error;
    }
  }
  if (!EndUpdateResourceW(update, FALSE)) return LastError("EndUpdateResource");
  return {};
}

}  // namespace simapp
