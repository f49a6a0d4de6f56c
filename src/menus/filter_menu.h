// Which command of the host's menus stands for which filter of the
// smart-filter template. Start-up prepares the working tables from
// menus/filter_tables.h: names in the host's language, rows in the order the
// host's Filter menu shows them. The identifiers are read from the host's
// menus when they first open (menus/filter_menu_host.h), because the host
// numbers its Filter menu itself.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "menus/filter_tables.h"

struct FilterFamilyEntry {
  std::int32_t CommandId;  // the host's, once read from its Filter menu; 0 before
  std::int32_t Index;      // place on the template's family layer; 0: not offered
  std::int32_t Family;
  std::int32_t VersionA;
  std::int32_t VersionB;
  char Name[kFilterTextSize];  // the key, then its translation
};

struct ExtraFilterEntry {
  std::array<std::int32_t, kExtraFilterVersionCount> CommandIds;  // host versions 6 to 11
  char TemplateLayer[kFilterTextSize];
  std::int32_t Index;
  char Name[kExtraFilterNameSize];  // the key, then its translation
};

// The first FilterRowCount rows are in use: after start-up those of the
// running version, in the host's menu order.
extern std::array<FilterFamilyEntry, kFilterRowCount> FilterFamilyTable;
extern std::size_t FilterRowCount;
extern std::array<ExtraFilterEntry, kExtraFilterCount> ExtraFilterTable;
// The family names, translated, by family index.
extern char FilterFamilyNames[kFilterFamilyCount][kFilterTextSize];
// First row of each family in the stored order; entry 12 is the row count.
extern std::array<int, kFilterFamilyCount + 1> FamilyStart;
// The families in the host's menu order (by translated name, Other last).
extern std::array<int, kFilterFamilyCount> FamilyOrder;
// The host version the tables were prepared for; 0 when they were not.
extern int FilterTablesVersion;
// Set once the Filter menu's identifiers, and the Variations command of the
// Enhance menu, were read.
extern bool FilterIdsRead;
extern bool VariationsIdRead;

// Start-up, for host versions 6 and up: the tables from their initial rows;
// indices of filters that editors 6 and 7 cannot apply as smart filters
// cleared; names translated; rows sorted for `version`. Needs the host's
// collation in effect (ApplyCollation). Every call starts from the initial
// rows, so a second start-up gives the same tables.
void PrepareFilterTables(int version);
// Shutdown: the initial rows, nothing prepared.
void ResetFilterTables();

// Sorts the families and each family's rows by translated name under the
// current collation, Other last, and keeps the rows that exist in the
// prepared version. Works on the stored order that PrepareFilterTables lays
// out.
void SortFilterTable();

// Numbers the rows in use as the host numbers its Filter menu: downwards from
// `firstId`, one identifier left out where the family changes.
void AssignFilterIds(std::int32_t firstId);

// The running version's Variations command, read from the Enhance menu.
// False on versions the extra table does not know.
bool SetVariationsCommand(std::int32_t id);

// The place among the Filter menu's family submenus of a family, -1 when the
// prepared version has none of its filters.
int FamilyMenuPlace(int family);

// The template entry of a host command: the template layer (the English
// family name for the Filter menu's filters), the index on it and the
// translated name, into buffers of kFilterTextSize characters. False, with
// the buffers untouched, when the command is not one of the offered filters.
bool LookupFilterCommand(std::int32_t id, char* familyName, std::int32_t* index, char* nameKey);
