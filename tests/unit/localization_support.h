// Temporary host folders, files and registry values for the localization
// tests; each removes what it made when it goes out of scope.
#pragma once

#include <string>

// A new empty folder under the system's temporary folder.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }  // no trailing backslash
  std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

 private:
  std::string path_;
};

// Writes bytes to a file, making its folders first.
void WriteBytes(const std::string& path, const std::string& bytes);
void MakeFolder(const std::string& path);
void RemoveTreeA(const std::string& path);

// A host dictionary file: the byte-order mark, then each wide character as
// two little-endian bytes.
std::string DictionaryBytes(const std::wstring& text);

// The value "Locale" of the host's version key, removed with the key.
class HostLocaleValue {
 public:
  HostLocaleValue(int version, const char* value);
  ~HostLocaleValue();
  HostLocaleValue(const HostLocaleValue&) = delete;
  HostLocaleValue& operator=(const HostLocaleValue&) = delete;

 private:
  std::string key_;
};

// A host version whose registry key no other program of ours writes.
constexpr int kTestHostVersion = 97;
