#include "commands/document_commands.h"

#include <cstdio>

#include "host/event_keys.h"
#include "host/event_player.h"

using namespace event_keys;

std::int32_t TrimDocument() { return PlayKeys("~trim", kDialogShow, {}); }

std::int32_t ApplyImage() {
  return PlayKeys("AppI", kDialogShow,
                  {Object("With", "Clcl",
                          {Ref("T", {EnumPart("Chnl", "Chnl", "RGB")}), Enumerated("Clcl", "Clcn", "Mltp"),
                           Boolean("PrsT", true)})});
}

std::int32_t ProofColors() {
  char profile[255] = {};
  std::uint32_t size = sizeof profile;
  const TypeID key = StringToTypeID("profile");
  // An empty answer is no profile either.
  if (key == 0 || GetTargetProperty(FourCC("Dcmn"), key, profile, &size) != 0 || profile[0] == '\0')
    std::snprintf(profile, sizeof profile, "%s", kSrgbProfile);
  return PlayKeys("proofSetup", kDialogShow, {Text("profile", profile), Boolean("preserve", true)});
}

std::int32_t SetPixelAspectRatio(const char* name, double value, bool showDialog) {
  if (!name) return host::kBadParameterError;
  return PlayKeys("setd", showDialog ? kDialogShow : kDialogNone,
                  {Ref("null", {Property("Prpr", "pixelScaleFactor"), TargetOf("Dcmn")}),
                   Object("T", "pixelScaleFactor", {Float("Vl", value), Text("Nm", name)})});
}

std::int32_t NewDocument(const char* name, double width, double height) {
  if (!name) return host::kBadParameterError;
  return PlayKeys("Mk", kDialogNone,
                  {Object("Nw", "Dcmn",
                          {Text("Nm", name), ClassKey("Md", "RGBM"), UnitFloat("Wdth", "#Rlt", width),
                           UnitFloat("Hght", "#Rlt", height), UnitFloat("Rslt", "#Rsl", 72.0),
                           Float("pixelScaleFactor", 1.0), Enumerated("Fl", "Fl", "Trns"), Integer("Dpth", 8),
                           Text("profile", kSrgbProfile)})});
}

std::int32_t NewDocumentFromClipboard() {
  return PlayKeys("Mk", kDialogNone, {Object("Nw", "Dcmn", {Text("preset", "Clipboard")})});
}

std::int32_t Paste() { return PlayKeys("past", kDialogNone, {Enumerated("AntA", "Annt", "Anno")}); }
