// Type identifiers: four-character codes and the host's string identifiers.
// String identifiers the host has its own character codes for convert to
// those codes; any other string gets a generated identifier that stays the
// same for the life of the process.
#include <cstdio>
#include <map>
#include <string>

#include "host_state.h"

namespace sim {
namespace {

struct KnownId {
  const char* text;
  const char (&code)[5];
};

// The first entry for a code is the one TypeIDToStringID answers.
constexpr KnownId kKnownIds[] = {
    {"null", "null"}, {"target", "Trgt"}, {"ordinal", "Ordn"}, {"layer", "Lyr "},
    {"document", "Dcmn"}, {"channel", "Chnl"}, {"application", "capp"}, {"property", "Prpr"},
    {"historyState", "HstS"}, {"backgroundLayer", "BckL"}, {"mask", "Msk "},
    {"red", "Rd  "}, {"green", "Grn "}, {"blue", "Bl  "}, {"black", "Blck"}, {"cyan", "Cyn "},
    {"magenta", "Mgnt"}, {"yellow", "Yllw"}, {"lightness", "Lght"}, {"a", "A   "}, {"b", "B   "},
    {"gray", "Gry "}, {"composite", "Cmps"},
    {"RGBColor", "RGBC"}, {"grayScale", "Grys"}, {"labColor", "LbCl"}, {"CMYKColor", "CMYM"},
    {"indexedColor", "Indl"}, {"bitmap", "Btmp"}, {"multichannel", "MltC"}, {"duotone", "Dtn "},
    {"HSLColor", "HSLC"}, {"HSBColor", "HSBC"},
    {"select", "slct"}, {"delete", "Dlt "}, {"duplicate", "Dplc"}, {"flattenImage", "FltI"},
    {"invert", "Invr"}, {"mergeLayersNew", "Mrg2"}, {"mergeLayers", "MrgL"}, {"make", "Mk  "},
    {"set", "setd"}, {"show", "Shw "}, {"hide", "Hd  "}, {"open", "Opn "}, {"close", "Cls "},
    {"name", "Nm  "}, {"background", "Bckg"}, {"opacity", "Opct"}, {"mode", "Md  "},
    {"blendMode", "BlnM"}, {"normal", "Nrml"}, {"visible", "Vsbl"}, {"group", "Grup"},
    {"userMaskEnabled", "UsrM"}, {"userMaskLinked", "Usrs"}, {"adjustment", "Adjs"},
    {"itemIndex", "ItmI"}, {"layerID", "LyrI"}, {"documentID", "DocI"}, {"count", "Cnt "},
    {"currentHistoryState", "CrnH"}, {"numberOfDocuments", "NmbD"}, {"title", "Ttl "},
    {"depth", "Dpth"}, {"width", "Wdth"}, {"height", "Hght"}, {"resolution", "Rslt"},
    {"fileReference", "File"}, {"numberOfLayers", "NmbL"}, {"makeVisible", "MkVs"},
    {"extend", "Extd"}, {"apply", "Aply"}, {"to", "T   "}, {"at", "At  "}, {"using", "Usng"},
    {"new", "Nw  "}, {"textKey", "Txt "}, {"selection", "fsel"}, {"enabled", "enab"},
    {"revealAll", "RvlA"}, {"hideAll", "HdAl"}, {"userMask", "UsrM"}, {"rectangle", "Rctn"},
    {"top", "Top "}, {"left", "Left"}, {"bottom", "Btom"}, {"right", "Rght"},
    {"pixelsUnit", "#Pxl"}, {"percentUnit", "#Prc"}, {"densityUnit", "#Rsl"},
    {"antiAlias", "AntA"}, {"antiAliasType", "Annt"}, {"offset", "Ofst"}, {"profile", "Prfl"},
    {"all", "All "},
    {"curves", "Crvs"}, {"exposure", "Exps"}, {"channelMixer", "ChnM"}, {"colorBalance", "ClrB"},
    {"selectiveColor", "SlcC"}, {"blackAndWhite", "BanW"}, {"adjustmentLayer", "AdjL"},
};

struct Tables {
  std::map<std::string, TypeID, std::less<>> byText;
  std::map<TypeID, std::string> byId;
  TypeID next = 0x7F000001;
  Tables() {
    for (const auto& k : kKnownIds) {
      TypeID id = host::FourCC(k.code);
      byText.emplace(k.text, id);
      byId.emplace(id, k.text);   // emplace keeps the first text for a code
    }
  }
};

Tables& Ids() {
  static Tables tables;
  return tables;
}

bool Generated(TypeID id) { return id >= 0x7F000001 && id < Ids().next; }

bool PrintableCode(TypeID id) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    unsigned c = (id >> shift) & 0xFF;
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

}  // namespace

TypeID StringToId(std::string_view text) {
  auto& t = Ids();
  if (auto it = t.byText.find(text); it != t.byText.end()) return it->second;
  TypeID id = t.next++;
  t.byText.emplace(std::string(text), id);
  t.byId.emplace(id, std::string(text));
  return id;
}

bool IdToString(TypeID id, std::string* text) {
  auto& t = Ids();
  auto it = t.byId.find(id);
  if (it == t.byId.end()) return false;
  *text = it->second;
  return true;
}

void AliasStringId(std::string_view alias, std::string_view existing) {
  TypeID id = StringToId(existing);
  Ids().byText[std::string(alias)] = id;
}

TypeID IdFromText(std::string_view text) {
  if (text.size() == 4) {
    char code[5] = {text[0], text[1], text[2], text[3], 0};
    return host::FourCC(code);
  }
  return StringToId(text);
}

std::string TextFromId(TypeID id) {
  if (Generated(id)) return Ids().byId.at(id);
  if (!PrintableCode(id)) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", unsigned(id));
    return buffer;
  }
  return {char(id >> 24), char(id >> 16), char(id >> 8), char(id)};
}

}  // namespace sim
