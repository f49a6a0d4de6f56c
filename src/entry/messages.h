// The module's own messages in English and German, and the message boxes
// that show them.
#pragma once

// The current tables: English until start-up finds a German host.
extern const char* const* MessageTable;         // 13 texts
extern const char* const* FeatureMessageTable;  // 5 texts

constexpr const char* kProductName = "Quillbright";

// Points both tables at their German texts (or back at the English ones).
void UseGermanMessages(bool german);
void UseGermanFeatureMessages(bool german);

// The "Do It" prompt, the "open an image" box: by host language.
const char* ReactivatePrompt();

// printf-style text (cut at 2047 characters) in an information box owned by
// the main window. Returns the box's result.
int ShowMessage(const char* title, const char* format, ...) __attribute__((format(printf, 2, 3)));
int ShowInfo(const char* format, ...) __attribute__((format(printf, 1, 2)));

// True when the host has a document open; otherwise, when asked, tells the
// user to open one.
bool IsDocumentOpen(bool showMessage);
