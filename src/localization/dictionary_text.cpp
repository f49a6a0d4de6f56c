#include "localization/dictionary_text.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::string_view kKeyStart = "$$$/";

// Byte order of two stretches of `length` bytes, compared eight bytes at a
// time (each load read as a big-endian number, so that the numbers' order
// is the bytes' order). The runtime's memcmp is a byte loop on some systems.
int CompareBytes(const char* a, const char* b, std::size_t length) {
  while (length >= 8) {
    std::uint64_t x, y;
    std::memcpy(&x, a, 8);
    std::memcpy(&y, b, 8);
    if (x != y) return __builtin_bswap64(x) < __builtin_bswap64(y) ? -1 : 1;
    a += 8, b += 8, length -= 8;
  }
  for (; length; ++a, ++b, --length)
    if (*a != *b) return static_cast<unsigned char>(*a) < static_cast<unsigned char>(*b) ? -1 : 1;
  return 0;
}

// The text at `position` against `key`, over the key's length (a text that
// ends first is the smaller).
int CompareAt(std::string_view text, std::size_t position, std::string_view key) {
  const std::size_t length = std::min(text.size() - position, key.size());
  const int order = CompareBytes(text.data() + position, key.data(), length);
  if (order != 0) return order;
  return length < key.size() ? -1 : 0;
}

}  // namespace

void NarrowDictionaryUnits(const char* bytes, std::size_t units, char* out) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes);
  for (std::size_t i = 0; i < units; ++i) {
    const unsigned char low = in[2 * i], high = in[2 * i + 1];
    out[i] = char((high == 0 && low != 0) ? low : '?');
  }
}

std::string NarrowDictionaryText(const char* bytes, std::size_t length) {
  std::string text(length / 2, '\0');
  NarrowDictionaryUnits(bytes, text.size(), text.data());
  return text;
}

bool NarrowDictionaryFile(std::uint64_t fileSize, const std::function<bool(char* into, std::size_t bytes)>& read,
                          std::span<char> piece, std::string& text) {
  text.clear();
  const std::size_t pieceUnits = piece.size() / 2;
  if (fileSize <= 2 || fileSize >= kDictionaryFileLimit || pieceUnits == 0) return false;
  text.resize(std::size_t(fileSize - 2) / 2);
  bool ok = read(piece.data(), 2);
  for (std::size_t done = 0; ok && done < text.size();) {
    const std::size_t units = std::min(text.size() - done, pieceUnits);
    ok = read(piece.data(), units * 2);
    if (ok) NarrowDictionaryUnits(piece.data(), units, text.data() + done);
    done += units;
  }
  if (!ok) text.clear();
  return ok;
}

std::string_view LabelKey(std::string_view labelled) {
  const std::size_t equals = labelled.rfind('=');
  return equals == std::string_view::npos ? std::string_view() : labelled.substr(0, equals);
}

std::string_view LabelDefault(std::string_view labelled) {
  const std::size_t equals = labelled.rfind('=');
  return equals == std::string_view::npos ? labelled : labelled.substr(equals + 1);
}

DictionaryIndex BuildDictionaryIndex(std::string_view text) {
  DictionaryIndex index;
  if (text.size() > UINT32_MAX) return index;  // every lookup then scans
  // Real dictionaries hold one key per entry of about 50 characters.
  index.positions.reserve(text.size() / 50 + 16);
  const char* data = text.data();
  std::uint32_t start;
  std::memcpy(&start, kKeyStart.data(), 4);
  for (std::size_t at = 0; at + 4 <= text.size(); ++at) {
    std::uint32_t here;
    std::memcpy(&here, data + at, 4);
    if (here == start) index.positions.push_back(std::uint32_t(at));
  }
  // Every position begins with "$$$/": compare from the fifth byte on.
  constexpr std::size_t reach = DictionaryIndex::kIndexedLength - 4;
  std::sort(index.positions.begin(), index.positions.end(), [&](std::uint32_t a, std::uint32_t b) {
    const std::size_t lengthA = std::min(text.size() - a - 4, reach);
    const std::size_t lengthB = std::min(text.size() - b - 4, reach);
    const int order = CompareBytes(data + a + 4, data + b + 4, std::min(lengthA, lengthB));
    if (order != 0) return order < 0;
    return lengthA != lengthB ? lengthA < lengthB : a < b;
  });
  return index;
}

std::size_t FindKeyByScan(std::string_view text, std::string_view key) { return text.find(key); }

std::size_t FindKeyIndexed(std::string_view text, const DictionaryIndex& index, std::string_view key) {
  if (key.size() > DictionaryIndex::kIndexedLength || !key.starts_with(kKeyStart) ||
      text.size() > UINT32_MAX)
    return FindKeyByScan(text, key);
  // Ordered by their first kIndexedLength bytes, the positions are also
  // ordered by their first key.size() bytes, so those that begin with the key
  // are one run; the earliest of them is the key's first occurrence.
  auto it = std::lower_bound(index.positions.begin(), index.positions.end(), key,
                             [&](std::uint32_t p, std::string_view k) { return CompareAt(text, p, k) < 0; });
  std::size_t first = std::string_view::npos;
  for (; it != index.positions.end() && CompareAt(text, *it, key) == 0; ++it)
    first = std::min<std::size_t>(first, *it);
  return first;
}

std::string LookUpLabel(std::string_view text, const DictionaryIndex* index, std::string_view labelled) {
  const std::string_view fallback = LabelDefault(labelled);
  const std::string_view key = LabelKey(labelled);
  if (key.empty() || text.empty()) return std::string(fallback);
  const std::size_t found = index ? FindKeyIndexed(text, *index, key) : FindKeyByScan(text, key);
  if (found == std::string_view::npos) return std::string(fallback);
  const std::size_t equals = text.substr(found, kDictionaryReach).find('=');
  if (equals == std::string_view::npos) return std::string(fallback);
  const std::string_view rest = text.substr(found + equals + 1, kDictionaryReach);
  return std::string(rest.substr(0, rest.find('"')));
}
