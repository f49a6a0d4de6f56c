// The simulated host: the suites it offers, its document model and its
// recorder. Used by the simulated editor program and, in-process, by the
// plug-in's unit tests.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "basic_suite.h"
#include "host_types.h"

namespace sim {

using Json = nlohmann::ordered_json;

// Starts a fresh host from a scenario object (already validated): the host
// settings, the document model, the action sets and the answers. Clears the
// transcript, the notifiers, every outstanding host object and the answers.
void ResetHost(const Json& scenario);

// The basic suite handed to the plug-in in every message, and the plug-in's
// own reference (the message's `self`).
host::BasicSuite* Basic();
host::PluginRef PluginSelf();

// The main window the UI-hooks suite reports; null until the editor has one.
void SetMainWindow(HWND window);
HWND MainWindow();

// ---- Recorder ----
// Appends a transcript line (an object with "kind"). Lines also go to the sink
// when one is set, as they happen.
void Record(Json line);
void SetTranscriptSink(std::function<void(const Json&)> sink);
std::vector<Json> TakeTranscript();          // recorded lines since the last take
std::string ToText(const Json& line);        // one JSON Lines line, no newline

// ---- Notifiers ----
// Delivers a host event (four-character code or string identifier) to every
// registered notifier, with a null descriptor.
void NotifyEvent(std::string_view event);
size_t NotifierCount();

// ---- Message boxes ----
// A CBT hook on the calling thread that records every message box and answers
// it from the scenario's "answers.messages" (default: the box's first button).
void InstallMessageBoxAnswerer();
void RemoveMessageBoxAnswerer();
// Dialogs that are not message boxes (the plug-in's own) are offered to a
// driver at their WM_INITDIALOG; one it claims is shown to it once it is
// first visible, and reported when it is destroyed. Null: no driver.
struct DialogDriver {
  bool (*claims)(HWND dialog);
  void (*shown)(HWND dialog);
  void (*destroyed)(HWND dialog);
};
void SetDialogDriver(const DialogDriver* driver);

// ---- Host objects ----
// Records a `leak` line for each kind of host object made and never freed.
void ReportLeaks();
size_t LiveObjectCount();
Json LiveObjects();                           // {"descriptor": n, ...} of the objects alive now

// ---- Faults ----
// A scenario step: these faults (the scenario's FAULT form) count calls and
// plays from now on; faults armed before that have not fired are dropped.
void ArmFaults(const Json& faults);

// ---- Model ----
Json ModelState();   // {"documents": [...], "current": n, "actionSets": [...], "preferences": {...}}
void RecordState();                           // a `state` line
void ApplyEdit(const Json& edit);             // a scenario's `edit` step

// ---- Inspection ----
// The transcript form of a live descriptor (DESC) or reference (REF); null for
// an unknown token. For tests that look at what the plug-in built.
Json DescribeDescriptor(host::Descriptor d);
Json DescribeReference(host::Reference r);

// ---- Host version ----
// The editor version the host's event rows follow is the scenario's; a test
// that runs the plug-in in-process can have it follow the plug-in's idea of
// the version instead (null: back to the scenario's). Kept across ResetHost.
void SetHostVersionSource(int (*source)());

// ---- Identifiers ----
host::TypeID IdFromText(std::string_view text);   // four characters, else a string identifier
std::string TextFromId(host::TypeID id);          // the reverse, as the transcript writes it

}  // namespace sim
