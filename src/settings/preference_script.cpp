#include "settings/preference_script.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kResampleMethods[] = {"ResampleMethod.BICUBIC", "ResampleMethod.BICUBICSMOOTHER",
                                            "ResampleMethod.BICUBICSHARPER"};

constexpr const char* kHistoryLogText =
    "app.preferences.useHistoryLog = value;\n"
    " if (value) {\n"
    "app.preferences.saveLogItems = SaveLogItemsType.METADATA;\n"
    " app.preferences.editLogItems = EditLogItemsType.DETAILED;\n"
    "}";

// Appends printf-style text after what the buffer holds, never past its end.
void Append(char (&script)[kPreferenceScriptSize], const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(char (&script)[kPreferenceScriptSize], const char* format, ...) {
  const std::size_t used = std::strlen(script);
  if (used + 1 >= sizeof script) return;
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(script + used, sizeof script - used, format, arguments);
  va_end(arguments);
}

}  // namespace

void BuildPreferenceScript(const SettingsValues& values, char (&script)[kPreferenceScriptSize]) {
  script[0] = '\0';
  // Each piece goes on a line of its own after the text so far.
  Append(script, "%s %d;", "app.preferences.autoUpdateOpenDocuments = ", int(values[kSettingAutoUpdate]));
  Append(script, "\n%s %s;", "app.preferences.fontPreviewSize = ",
         values[kSettingLargeFontPreview] != 0 ? "FontPreviewType.LARGE" : "FontPreviewType.MEDIUM");
  const std::int32_t interpolation = values[kSettingInterpolation];
  if (interpolation >= 0 && interpolation <= 2)
    Append(script, "\n%s %s;", "app.preferences.interpolation = ", kResampleMethods[interpolation]);
  Append(script, "\n%s %d;", "app.preferences.createFirstSnapshot = ", int(values[kSettingFirstSnapshot]));
  Append(script, "\n%s %d;", "app.preferences.nonLinearHistory = ", int(values[kSettingNonLinearHistory]));
  Append(script, "\n%s %d;\n %s", "var value = ", int(values[kSettingHistoryLog]), kHistoryLogText);
}
