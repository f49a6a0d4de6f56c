#include "localization/dialog_labels.h"

#include <cstring>
#include <string>
#include <string_view>

#include "localization/dictionary.h"

namespace {

constexpr bool AllFit() {
  for (const char* source : DialogLabelSources)
    if (std::string_view(source).size() >= kDialogLabelSize) return false;
  return true;
}
static_assert(AllFit(), "a labelled text does not fit its slot");

void Store(char* slot, const std::string& text) {
  const std::size_t length = text.size() < kDialogLabelSize - 1 ? text.size() : kDialogLabelSize - 1;
  std::memcpy(slot, text.data(), length);
  std::memset(slot + length, 0, kDialogLabelSize - length);
}

}  // namespace

char DialogLabelTable[kDialogLabelCount][kDialogLabelSize] = {};

void ResetDialogLabels() {
  for (std::size_t row = 0; row < kDialogLabelCount; ++row) Store(DialogLabelTable[row], DialogLabelSources[row]);
}

void TranslateDialogLabels() {
  for (auto& slot : DialogLabelTable) {
    // A slot filled to the brim has no terminator of its own.
    const std::string labelled(slot, strnlen(slot, kDialogLabelSize));
    Store(slot, LocalizeString(labelled.c_str()));
  }
}

namespace {
// The slots hold their labelled texts from the module's load on.
const bool kSlotsFilled = (ResetDialogLabels(), true);
}  // namespace
