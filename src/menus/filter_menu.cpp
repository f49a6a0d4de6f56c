#include "menus/filter_menu.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "localization/dictionary.h"
#include "menus/version_pair.h"

std::array<FilterFamilyEntry, kFilterRowCount> FilterFamilyTable{};
std::size_t FilterRowCount = 0;
std::array<ExtraFilterEntry, kExtraFilterCount> ExtraFilterTable{};
char FilterFamilyNames[kFilterFamilyCount][kFilterTextSize] = {};
std::array<int, kFilterFamilyCount + 1> FamilyStart{};
std::array<int, kFilterFamilyCount> FamilyOrder{};
int FilterTablesVersion = 0;
bool FilterIdsRead = false;
bool VariationsIdRead = false;

namespace {

// Filters that editors 6 and 7 cannot apply as smart filters.
constexpr const char* kNotOfferedBefore8[] = {"Find Edges", "Solarize", "Facet", "Fragment", "NTSC Colors"};

// Cut to fit; the rest of the slot is cleared, so that a slot reads the same
// whatever it held before.
template <std::size_t Size>
void CopyBounded(char (&buffer)[Size], std::string_view text) {
  const std::size_t length = std::min(text.size(), Size - 1);
  std::memcpy(buffer, text.data(), length);
  std::memset(buffer + length, 0, Size - length);
}

// The caller's buffers hold kFilterTextSize characters.
void CopyToCaller(char* buffer, const char* text) {
  if (!buffer) return;
  const std::size_t length = std::min(std::strlen(text), kFilterTextSize - 1);
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
}

template <std::size_t Size>
void Translate(char (&slot)[Size]) {
  CopyBounded(slot, LocalizeString(slot));
}

// The English default of a labelled text: what follows its first "=".
const char* EnglishDefault(const char* labelled) {
  const char* equals = std::strchr(labelled, '=');
  return equals ? equals + 1 : labelled;
}

bool Collates(const char* a, const char* b) { return std::strcoll(a, b) < 0; }

void LoadInitialRows() {
  for (std::size_t i = 0; i < kFilterRowCount; ++i) {
    const FilterRowSource& source = FilterRowSources[i];
    FilterFamilyEntry& row = FilterFamilyTable[i];
    row.CommandId = 0;
    row.Index = source.index;
    row.Family = source.family;
    row.VersionA = source.versionA;
    row.VersionB = source.versionB;
    CopyBounded(row.Name, source.key);
  }
  FilterRowCount = kFilterRowCount;
  for (std::size_t f = 0; f < kFilterFamilyCount; ++f) {
    CopyBounded(FilterFamilyNames[f], FilterFamilyNameSources[f]);
    FamilyOrder[f] = int(f);
  }
  for (std::size_t i = 0; i < kExtraFilterCount; ++i) {
    const ExtraFilterSource& source = ExtraFilterSources[i];
    ExtraFilterEntry& row = ExtraFilterTable[i];
    row.CommandIds = source.commandIds;
    CopyBounded(row.TemplateLayer, source.templateLayer);
    row.Index = source.index;
    CopyBounded(row.Name, source.key);
  }
  FamilyStart.fill(0);
  FilterTablesVersion = 0;
  FilterIdsRead = false;
  VariationsIdRead = false;
}

void FindFamilyStarts() {
  std::size_t row = 0;
  for (std::size_t f = 0; f < kFilterFamilyCount; ++f) {
    while (row < kFilterRowCount && FilterFamilyTable[row].Family < int(f)) ++row;
    FamilyStart[f] = int(row);
  }
  FamilyStart[kFilterFamilyCount] = int(kFilterRowCount);
}

void ClearIndicesNotOfferedBefore8() {
  int cleared = 0;
  for (std::size_t i = 0; i < kFilterRowCount && cleared < int(std::size(kNotOfferedBefore8)); ++i) {
    const std::string_view key = FilterFamilyTable[i].Name;
    for (const char* name : kNotOfferedBefore8) {
      if (key.find(name) == std::string_view::npos) continue;
      FilterFamilyTable[i].Index = 0;
      ++cleared;
      break;
    }
  }
}

void TranslateNames() {
  for (auto& name : FilterFamilyNames) Translate(name);
  for (FilterFamilyEntry& row : FilterFamilyTable) Translate(row.Name);
  for (ExtraFilterEntry& row : ExtraFilterTable) Translate(row.Name);
}

}  // namespace

void ResetFilterTables() { LoadInitialRows(); }

void PrepareFilterTables(int version) {
  LoadInitialRows();
  if (version < 6) return;
  FilterTablesVersion = version;
  FindFamilyStarts();
  if (version <= 7) ClearIndicesNotOfferedBefore8();
  TranslateNames();
  SortFilterTable();
}

void SortFilterTable() {
  std::stable_sort(FamilyOrder.begin(), FamilyOrder.end(), [](int a, int b) {
    if (a == kOtherFamily || b == kOtherFamily) return b == kOtherFamily && a != kOtherFamily;
    return Collates(FilterFamilyNames[a], FilterFamilyNames[b]);
  });

  const std::array<FilterFamilyEntry, kFilterRowCount> stored = FilterFamilyTable;
  std::size_t kept = 0;
  for (int family : FamilyOrder) {
    std::array<const FilterFamilyEntry*, kFilterRowCount> rows{};
    std::size_t count = 0;
    for (int i = FamilyStart[family]; i < FamilyStart[family + 1]; ++i) rows[count++] = &stored[std::size_t(i)];
    std::stable_sort(rows.begin(), rows.begin() + count,
                     [](const FilterFamilyEntry* a, const FilterFamilyEntry* b) { return Collates(a->Name, b->Name); });
    for (std::size_t k = 0; k < count; ++k)
      if (VersionPairAdmits(rows[k]->VersionA, rows[k]->VersionB, FilterTablesVersion))
        FilterFamilyTable[kept++] = *rows[k];
  }
  FilterRowCount = kept;
}

void AssignFilterIds(std::int32_t firstId) {
  std::int32_t id = firstId;
  for (std::size_t i = 0; i < FilterRowCount; ++i) {
    if (i > 0) id -= FilterFamilyTable[i].Family != FilterFamilyTable[i - 1].Family ? 2 : 1;
    FilterFamilyTable[i].CommandId = id;
  }
}

bool SetVariationsCommand(std::int32_t id) {
  const int v = FilterTablesVersion;
  if (v < kFirstExtraFilterVersion || v > kLastExtraFilterVersion) return false;
  ExtraFilterTable[kVariationsRow].CommandIds[std::size_t(v - kFirstExtraFilterVersion)] = id;
  return true;
}

int FamilyMenuPlace(int family) {
  int place = 0;
  for (int f : FamilyOrder) {
    const bool present = std::any_of(FilterFamilyTable.begin(), FilterFamilyTable.begin() + FilterRowCount,
                                     [f](const FilterFamilyEntry& row) { return row.Family == f; });
    if (!present) continue;
    if (f == family) return place;
    ++place;
  }
  return -1;
}

bool LookupFilterCommand(std::int32_t id, char* familyName, std::int32_t* index, char* nameKey) {
  const int v = FilterTablesVersion;
  if (v < 6 || id == 0) return false;
  if (v >= kFirstExtraFilterVersion && v <= kLastExtraFilterVersion) {
    for (std::size_t i = 0; i < kExtraFilterCount; ++i) {
      const ExtraFilterEntry& row = ExtraFilterTable[i];
      if (row.CommandIds[std::size_t(v - kFirstExtraFilterVersion)] != id) continue;
      if (v < 8 && i >= kFirstOwnSharpenRow && i <= kLastOwnSharpenRow) continue;
      CopyToCaller(familyName, row.TemplateLayer);
      if (index) *index = row.Index;
      CopyToCaller(nameKey, row.Name);
      return true;
    }
  }
  for (std::size_t i = 0; i < FilterRowCount; ++i) {
    const FilterFamilyEntry& row = FilterFamilyTable[i];
    if (row.CommandId != id) continue;
    if (row.Index == 0) return false;
    CopyToCaller(familyName, EnglishDefault(FilterFamilyNameSources[std::size_t(row.Family)]));
    if (index) *index = row.Index;
    CopyToCaller(nameKey, row.Name);
    return true;
  }
  return false;
}
