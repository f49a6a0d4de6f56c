// The host's string dictionary as narrowed 8-bit text, and the lookup of a
// labelled text ("$$$/Some/Key=English default") in it. No Windows here.
//
// A lookup takes the first occurrence of the key as a substring anywhere in
// the text (not the key followed by "="), then the text after the next "="
// up to the next double quote. The index below finds that same first
// occurrence without scanning the whole text each time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Longest stretch scanned for the "=" after a key, and longest translation.
constexpr std::size_t kDictionaryReach = 512;

// Narrows UTF-16LE code units (the byte-order mark already skipped) to one
// byte each: U+0001 to U+00FF keep their Latin-1 byte; U+0000 and anything
// above U+00FF become '?', so that the text never holds a stray zero byte
// (which would end it early) nor a quote or "=" made from another character.
// An odd trailing byte is dropped.
std::string NarrowDictionaryText(const char* bytes, std::size_t length);
// The same for `units` code units into `out` (units bytes).
void NarrowDictionaryUnits(const char* bytes, std::size_t units, char* out);

// Largest dictionary file read: anything bigger is not the host's.
constexpr std::uint64_t kDictionaryFileLimit = std::uint64_t(1) << 30;

// Reads the narrowed text of a dictionary file of `fileSize` bytes whose
// bytes `read` delivers in order (true when it filled the whole block it was
// given): the byte-order mark skipped, then `piece.size() / 2` code units at
// a time through `piece`, so that the wide text is never held whole. False,
// with an empty text, when the file is not larger than its byte-order mark,
// reaches kDictionaryFileLimit, or a read fails.
bool NarrowDictionaryFile(std::uint64_t fileSize, const std::function<bool(char* into, std::size_t bytes)>& read,
                          std::span<char> piece, std::string& text);

// The key of a labelled text: everything before its last "=" (empty when
// there is no "="); the default: everything after it (the whole text when
// there is no "=").
std::string_view LabelKey(std::string_view labelled);
std::string_view LabelDefault(std::string_view labelled);

// Every position in the text where "$$$/" begins, ordered by the text that
// follows (compared over kIndexedLength bytes, ties by position). Keys begin
// with "$$$/", so each occurrence of a key begins at one of these positions,
// and the positions whose text begins with the key are neighbours.
struct DictionaryIndex {
  static constexpr std::size_t kIndexedLength = 512;
  std::vector<std::uint32_t> positions;
};

DictionaryIndex BuildDictionaryIndex(std::string_view text);

// The first position of `key` in `text`, or npos.
std::size_t FindKeyByScan(std::string_view text, std::string_view key);
// The same answer through the index (falls back to the scan for keys the
// index cannot answer: not beginning with "$$$/", or longer than it compares).
std::size_t FindKeyIndexed(std::string_view text, const DictionaryIndex& index, std::string_view key);

// The translation of `labelled` in `text`, or its default. With a null index
// the text is scanned from its beginning.
std::string LookUpLabel(std::string_view text, const DictionaryIndex* index, std::string_view labelled);
