// Every command the user starts through the module, from a menu item, a
// panel button or a shortcut, arrives here as one identifier.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Identifier ranges beside the command table's own (0x8800 + row).
constexpr std::uint32_t kFirstSmartFilterItemId = 0x8600;  // k-th smart filter, 1-based
constexpr std::uint32_t kFirstScriptItemId = 0x8700;       // k-th script, 0-based
constexpr std::uint32_t kFirstActionItemId = 0x8900;       // k-th action, 0-based
constexpr std::uint32_t kLastActionItemId = 0x89FF;

// Runs the command; unknown identifiers do nothing. Always 0.
std::int32_t DispatchCommand(std::uint32_t id);

// The work of a named command inside its history step, chosen by the first
// known name the given name begins with. 0 when it ran; `intr` when it was
// cancelled or cannot run, so that the host drops the step.
std::int32_t RunNamedCommand(const char* commandName);

// The known command name whose work RunNamedCommand runs for the given
// name; empty when there is none.
std::string_view NamedCommandOf(const char* commandName);

// Makes RunNamedCommand the work of every named history step.
void InstallCommandDispatcher();

// The folder the module was installed in: the value "InstallPath" of the
// module's key under HKEY_LOCAL_MACHINE, else of its 64-bit installer's key,
// into `folder` (zero-terminated; a value that does not fit is passed over).
// False, with an empty folder, when neither key has a text there.
bool ReadInstallPath(char* folder, std::size_t size);
// Opens the module's manual; true when the shell opened a file.
bool OpenManual();
// Starts the editor's Organizer; true when it was started.
bool StartOrganizer();
// Lets the user pick a script and runs it; false only when cancelled.
bool BrowseScript(const char* title);
