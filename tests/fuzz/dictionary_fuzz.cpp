// The host's string dictionary as the module reads it: the file's bytes
// narrowed piece by piece, indexed, and searched for labelled texts. Beyond
// "no crash": the narrowed text is the same whatever the piece size, a read
// that fails leaves nothing, the index holds every "$$$/" and the indexed
// search agrees with the plain one, and no translation outgrows its reach
// or holds the quote that ends it; the edits the menu labels get after
// their lookup stay within their buffer and leave no mark behind.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "localization/dictionary_text.h"
#include "localization/text_edit.h"

namespace {

// Labels the module looks up at start-up, and a few that are not keys at
// all; whatever the dictionary holds, each must come back within bounds.
constexpr std::string_view kFixedLabels[] = {
    "$$$/ControlsStrings/OK=OK",
    "$$$/Actions/Event/Enable=Aktivieren",
    "$$$/Dialog/Exposure/Exposure=&Exposure:",
    "$$$/Menu/Preferences=Preferences",
    "$$$/PlatformSpecific/Windows/OptionKeyModifierName=Alt",
    "$$$/=empty key",
    "$$$",
    "no key at all",
    "=",
};

// Narrows the file through pieces of `pieceBytes`, as the plug-in does
// through its 64 KB buffer; `failingRead` > 0 makes that read fail.
bool ReadThroughPieces(std::string_view file, std::size_t pieceBytes, std::size_t failingRead,
                       std::string& text) {
  static char storage[1 << 16];
  const std::span<char> piece(storage, std::min(pieceBytes, sizeof storage));
  std::size_t offset = 0, reads = 0;
  const auto read = [&](char* into, std::size_t bytes) {
    FUZZ_CHECK(into == piece.data() && bytes <= piece.size());
    if (++reads == failingRead || bytes > file.size() - offset) return false;
    std::memcpy(into, file.data() + offset, bytes);
    offset += bytes;
    return true;
  };
  const bool ok = NarrowDictionaryFile(file.size(), read, piece, text);
  // The mark and every whole unit were read; an odd last byte was not.
  FUZZ_CHECK(!ok || offset == 2 + 2 * text.size());
  return ok;
}

void CheckNarrowing(std::string_view file, const std::string& text) {
  FUZZ_CHECK(text.size() == (file.size() - 2) / 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto low = static_cast<unsigned char>(file[2 + 2 * i]);
    const auto high = static_cast<unsigned char>(file[3 + 2 * i]);
    FUZZ_CHECK(text[i] != '\0');
    FUZZ_CHECK(high == 0 && low != 0 ? static_cast<unsigned char>(text[i]) == low : text[i] == '?');
  }
}

void CheckIndex(std::string_view text, const DictionaryIndex& index) {
  std::size_t starts = 0;
  for (std::size_t at = text.find("$$$/"); at != std::string_view::npos; at = text.find("$$$/", at + 1)) ++starts;
  FUZZ_CHECK(index.positions.size() == starts);
  for (std::size_t i = 0; i < index.positions.size(); ++i) {
    FUZZ_CHECK(text.substr(index.positions[i], 4) == "$$$/");
    if (i == 0) continue;
    const std::string_view before = text.substr(index.positions[i - 1], DictionaryIndex::kIndexedLength);
    const std::string_view here = text.substr(index.positions[i], DictionaryIndex::kIndexedLength);
    FUZZ_CHECK(before < here || (before == here && index.positions[i - 1] < index.positions[i]));
  }
}

// A translation as the menu labels edit it: cut into a fixed buffer,
// mnemonic marks and colons dropped, "Bridge" replaced; and "&&" made one.
void CheckLabelEdits(std::string_view translation) {
  char buffer[128];
  const std::size_t length = std::min(translation.size(), sizeof buffer - 1);
  std::memcpy(buffer, translation.data(), length);
  buffer[length] = '\0';
  const std::string_view cut = translation.substr(0, length);
  const auto marks = std::size_t(std::count(cut.begin(), cut.end(), '&') + std::count(cut.begin(), cut.end(), ':'));
  RemoveAllChars(buffer, '&');
  RemoveAllChars(buffer, ':');
  FUZZ_CHECK(std::strlen(buffer) == length - marks);
  FUZZ_CHECK(std::string_view(buffer).find_first_of("&:") == std::string_view::npos);
  ReplaceAll(buffer, sizeof buffer, "Bridge", "Organizer");
  FUZZ_CHECK(strnlen(buffer, sizeof buffer) < sizeof buffer);
  FUZZ_CHECK(std::string_view(buffer).find("Bridge") == std::string_view::npos);

  std::size_t doubled = 0;
  for (std::size_t at = translation.find("&&"); at != std::string_view::npos; at = translation.find("&&", at + 2))
    ++doubled;
  std::string single(translation);
  ReplaceAll(single, "&&", "&");
  FUZZ_CHECK(single.size() == translation.size() - doubled);
}

void CheckLookUp(std::string_view text, const DictionaryIndex& index, std::string_view labelled) {
  const std::string_view key = LabelKey(labelled);
  const std::string_view fallback = LabelDefault(labelled);
  const std::size_t found = FindKeyIndexed(text, index, key);
  FUZZ_CHECK(found == FindKeyByScan(text, key));
  const std::string indexed = LookUpLabel(text, &index, labelled);
  const std::string scanned = LookUpLabel(text, nullptr, labelled);
  FUZZ_CHECK(indexed == scanned);
  FUZZ_CHECK(LookUpLabel(text, &index, labelled) == indexed);
  if (key.empty() || found == std::string_view::npos) {
    FUZZ_CHECK(indexed == fallback);
    return;
  }
  const std::size_t equals = text.substr(found, kDictionaryReach).find('=');
  if (equals == std::string_view::npos) {
    FUZZ_CHECK(indexed == fallback);
    return;
  }
  // The translation is what follows that "=", cut at a quote or the reach.
  FUZZ_CHECK(indexed.size() <= kDictionaryReach);
  FUZZ_CHECK(indexed.find('"') == std::string::npos);
  FUZZ_CHECK(text.substr(found + equals + 1).starts_with(indexed));
  const std::size_t end = found + equals + 1 + indexed.size();
  FUZZ_CHECK(end == text.size() || text[end] == '"' || indexed.size() == kDictionaryReach);
  CheckLabelEdits(indexed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);

  // The piece size is the plug-in's own, and a small one taken from the
  // length, so that pieces end at every place in the text.
  std::string text, again;
  const bool ok = ReadThroughPieces(file, 1 << 16, 0, text);
  FUZZ_CHECK(ok == (size > 2));
  FUZZ_CHECK(ReadThroughPieces(file, 2 + size % 9, 0, again) == ok);
  FUZZ_CHECK(again == text);
  if (!ok) {
    FUZZ_CHECK(text.empty());
    return 0;
  }
  CheckNarrowing(file, text);
  FUZZ_CHECK(NarrowDictionaryText(file.data() + 2, size - 2) == text);
  const std::size_t reads = 1 + (text.size() + 1) / 2;  // the mark, then two units a piece
  FUZZ_CHECK(!ReadThroughPieces(file, 4, 1 + size % reads, again) && again.empty());

  const DictionaryIndex index = BuildDictionaryIndex(text);
  CheckIndex(text, index);
  for (const std::string_view labelled : kFixedLabels) CheckLookUp(text, index, labelled);
  // The dictionary's own keys, whole and cut short, at most 64 of them.
  std::size_t keys = 0;
  for (std::size_t at = text.find("$$$/"); at != std::string::npos && keys < 64; at = text.find("$$$/", at + 1)) {
    const std::string_view rest = std::string_view(text).substr(at, 2 * kDictionaryReach);
    const std::string_view key = rest.substr(0, rest.find('='));
    for (const std::size_t cut : {key.size(), key.size() / 2 + 4, key.size() - std::min<std::size_t>(key.size(), 1)}) {
      const std::string labelled = std::string(key.substr(0, cut)) + "=Default";
      CheckLookUp(text, index, labelled);
      ++keys;
    }
  }
  return 0;
}
