// Captions of the module's dialogs and the shortcut texts: each slot holds a
// labelled text until start-up translates it in place.
#pragma once

#include <cstddef>

constexpr std::size_t kDialogLabelCount = 38;
constexpr std::size_t kDialogLabelSize = 60;  // 59 characters and the terminator

extern char DialogLabelTable[kDialogLabelCount][kDialogLabelSize];
// What every slot holds before translation, by row, with the dialog that reads it.
// Rows 24 and 25 carry German defaults; row 0 is spelled "ControlsStrings",
// row 1 "ControlStrings", as the host's keys are.
inline constexpr const char* DialogLabelSources[kDialogLabelCount] = {
    "$$$/ControlsStrings/OK=OK",                                // all dialogs
    "$$$/ControlStrings/Cancel=Cancel",                         // all dialogs
    "$$$/Actions/Key/Preview=&Preview",                         // adjustment dialogs
    "$$$/Actions/Key/Fade/Opacity=Opacity:",                    // Fade, Fill Opacity
    "$$$/Actions/Key/Fade/Mode=Mode:",                          // Fade
    "$$$/Dialog/Exposure/Exposure=&Exposure:",                  // Exposure
    "$$$/Dialog/Exposure/Gamma=&Gamma:",                        // Exposure
    "$$$/Dialog/Exposure/Offset=&Offset:",                      // Exposure
    "$$$/Dialog/VibranceAdjustment/Saturation=&Saturation:",    // Vibrance
    "$$$/Dialog/VibranceAdjustment/Vibrance=&Vibrance:",        // Vibrance
    "$$$/Dialog/BlackAndWhite/Presets=Presets:",                // Black & White
    "$$$/Dialog/BlackAndWhite/Red=&Reds:",                      // Black & White
    "$$$/Dialog/BlackAndWhite/Yellow=&Yellows:",                // Black & White
    "$$$/Dialog/BlackAndWhite/Green=&Greens:",                  // Black & White
    "$$$/Dialog/BlackAndWhite/Cyan=&Cyans:",                    // Black & White
    "$$$/Dialog/BlackAndWhite/Blue=&Blues:",                    // Black & White
    "$$$/Dialog/BlackAndWhite/Magenta=&Magentas:",              // Black & White
    "$$$/Dialog/BlackAndWhite/TintCheckbox=&Tint",              // Black & White
    "$$$/Dialog/BlackAndWhite/Label/TintHue=&Hue",              // Black & White
    "$$$/Dialog/BlackAndWhite/Label/TintSat=&Saturation",       // Black & White
    "$$$/Actions/Key/TextStyle/Tracking=Tracking:",             // Tracking
    "$$$/EL/WorkModeButton/Edit=Edit",                          // Edit Smart Filters
    "$$$/Dialog/Fill/Blending=Blending",                        // Edit Smart Filters
    "$$$/UJumpto/Switch=En-/Disable",                           // Edit Smart Filters
    "$$$/Actions/Event/Disable=Deaktivieren",                   // Edit Smart Filters
    "$$$/Actions/Event/Enable=Aktivieren",                      // Edit Smart Filters
    "$$$/Actions/Event/Delete=Delete",                          // Edit Smart Filters
    "$$$/Menu/Preferences=Preferences",                         // Preferences
    "$$$/Menu/Prefs/General=General",                           // Preferences
    "$$$/Actions/Enum/History=History",                         // Preferences
    "$$$/Menu/Preferences/Keyboard=Key Shortcuts",              // Preferences
    "$$$/ControlsStrings/Reset=Reset",                          // Preferences; Cancel with Alt held
    "$$$/Actions/Event/Previous=Prev",                          // Preferences
    "$$$/Actions/Event/Next=Next",                              // Preferences
    "$$$/BrushDynamics/Off=Off",                                // command dispatcher
    "$$$/PlatformSpecific/Windows/OptionKeyModifierName=Alt",   // shortcut texts
    "$$$/PlatformSpecific/Windows/ShiftKeyModifierName=Shift",  // shortcut texts
    "$$$/PlatformSpecific/Windows/CommandKeyModifierName=Ctrl", // shortcut texts
};

// Replaces every slot by its translation (cut to 59 characters), in row order.
void TranslateDialogLabels();
// Puts the untranslated labelled texts back into the slots.
void ResetDialogLabels();
