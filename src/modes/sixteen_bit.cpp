#include "modes/sixteen_bit.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "commands/masks.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/history_step.h"
#include "host/layer_queries.h"
#include "modes/conversion_paths.h"
#include "menus/command_table.h"
#include "modes/document_steps.h"
#include "modes/script_bridge.h"
#include "modes/seed_image.h"
#include "settings/settings_file.h"

namespace {

constexpr const char* kSelectionChannel = "8-bit Selection";
constexpr const char* kSnapshotOff = "app.preferences.createFirstSnapshot = 0";
constexpr const char* kSnapshotOn = "app.preferences.createFirstSnapshot = 1";
constexpr std::uint32_t kTitleSize = 512;

// Told when the 16-bit document could not be opened from the saved image,
// which is then kept for the user.
constexpr const char* kKeptFileEnglish =
    "The 16-bit image could not be opened.\n"
    "The flattened image has been kept as\n"
    "\n"
    "%s";
constexpr const char* kKeptFileGerman =
    "Das 16-Bit-Bild konnte nicht ge\xF6" "ffnet werden.\n"
    "Das reduzierte Bild wurde behalten als\n"
    "\n"
    "%s";

// The system's shared Pictures folder, else the temporary folder.
void SharedPicturesFolder(char* folder, std::size_t size) {
  folder[0] = '\0';
  LPITEMIDLIST list = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_PICTURES, &list)) && list) {
    char path[MAX_PATH] = {};
    if (SHGetPathFromIDListA(list, path)) std::snprintf(folder, size, "%s", path);
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
      allocator->Free(list);
      allocator->Release();
    }
  }
}

void TemporaryFolder(char* folder, std::size_t size) {
  folder[0] = '\0';
  const DWORD length = GetTempPathA(DWORD(size), folder);
  if (length == 0 || length >= size) folder[0] = '\0';
}

// The document's own folder and name, or the shared Pictures folder and its
// title.
void FirstPlace(const char* title, ConversionPlace* place) {
  char file[kConversionPathSize] = {};
  if (ReadDocumentFilePath(file, sizeof file) && PlaceOfFile(file, place)) return;
  char pictures[MAX_PATH] = {};
  SharedPicturesFolder(pictures, sizeof pictures);
  PlaceInFolder(pictures, title, place);
}

void TemporaryPlace(const char* title, ConversionPlace* place) {
  char temporary[MAX_PATH + 1] = {};
  TemporaryFolder(temporary, sizeof temporary);
  PlaceInFolder(temporary, title, place);
}

bool FileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// Beside the user's document, a file of the seed's name is the user's and
// is never replaced; in the temporary folder it is a leftover of ours.
bool WriteSeed(const char* path, bool replace) {
  const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, replace ? CREATE_ALWAYS : CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, SixteenBitSeedImage.data(), DWORD(SixteenBitSeedImage.size()), &written, nullptr);
  const BOOL closed = CloseHandle(file);
  if (ok && closed && written == SixteenBitSeedImage.size()) return true;
  DeleteFileA(path);
  return false;
}

// The flatten is shown before the rest goes on: the host gets to paint
// while the main window's queue is emptied.
void DrainMainWindowMessages() {
  // Bounded: a window that keeps posting to itself must not hold the
  // command for ever.
  constexpr int kMostMessages = 512;
  MSG message;
  for (int n = 0; n < kMostMessages && PeekMessageA(&message, MainWindow, 0, 0, PM_REMOVE); ++n) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
    if (message.message == WM_QUIT || (message.message == WM_CLOSE && message.hwnd == MainWindow)) break;
  }
}

// The flatten with the host's answer, which FlattenImage does not give: an
// image left in layers would be copied as its target layer alone.
std::int32_t Flatten() { return PlayDescriptor(FourCC("FltI"), nullptr, kDialogNone); }

bool TitleIs(const char* expected) {
  char title[kTitleSize] = {};
  return ReadDocumentTitle(title, sizeof title) && std::strcmp(title, expected) == 0;
}

// One conversion: what the step found and left, for what is done after it.
struct Conversion {
  const char* title;                    // the user's document; empty when unread
  char file[kConversionPathSize] = {};  // the seed, or the TIFF opened
  bool written = false;                 // the seed or the TIFF is on disk
  bool opened = false;                  // the 16-bit document was opened from it
};

// The 16-bit document, current, holds the image: the user's document,
// found by its title, is closed (only now, and only that one) and the
// selection saved in it comes over.
bool ReplaceOriginal(const char* oldTitle, bool selected) {
  char newTitle[kTitleSize] = {};
  if (!oldTitle || !oldTitle[0] || !ReadDocumentTitle(newTitle, sizeof newTitle)) return false;
  if (std::strcmp(oldTitle, newTitle) == 0) return false;  // the two could not be told apart
  if (!ActivateDocumentByTitle(oldTitle) || !TitleIs(oldTitle)) return false;
  if (selected && DuplicateChannelToDocument(kSelectionChannel, newTitle) != 0) return false;
  if (CloseDocument(false) != 0) return false;
  if (!TitleIs(newTitle) && (!ActivateDocumentByTitle(newTitle) || !TitleIs(newTitle))) return false;
  if (!selected) return true;
  return LoadSelectionFromNamedChannel(kSelectionChannel) == 0 && SelectChannelByName(kSelectionChannel) == 0 &&
         DeleteTargetChannel() == 0;
}

bool ConvertByPng(Conversion& c) {
  ConversionPlace place{};
  FirstPlace(c.title, &place);
  const bool placed = FormatConversionPath(place, "_16bit.png", c.file, sizeof c.file);
  std::int32_t width = 0;
  std::int32_t height = 0;
  if (ReadDocumentWidth(&width) != 0 || ReadDocumentHeight(&height) != 0 || width < 1 || height < 1) return false;
  const int selection = ReadSelectionState();
  if (selection < 0) return false;
  const bool selected = selection == 1;
  if (selected && SaveSelectionAsChannel(kSelectionChannel, kDialogNone) != 0) return false;
  if (Flatten() != 0) return false;
  DrainMainWindowMessages();
  if (SelectAll() != 0 || CopySelection() != 0) return false;

  RunJavaScript(kSnapshotOff, false, false);
  c.written = placed && WriteSeed(c.file, false);
  if (!c.written) {
    TemporaryPlace(c.title, &place);
    c.written = FormatConversionPath(place, "_16bit.png", c.file, sizeof c.file) && WriteSeed(c.file, true);
  }
  c.opened = c.written && OpenFile(c.file, kDialogNone) == 0;
  // The user's Auto-Create First Snapshot comes back only when it was on.
  if (SettingsRecord[kSettingFirstSnapshot] != 0) RunJavaScript(kSnapshotOn, false, false);
  if (!c.opened) return false;
  if (CanvasSizeWhite(width, height) != 0 || SelectAll() != 0 || PasteInto() != 0 || Deselect() != 0) return false;
  // The user's document goes only once this one holds the image.
  return ReplaceOriginal(c.title, selected) && ClearHistory() == 0;
}

bool ConvertByTiff(Conversion& c) {
  ConversionPlace place{};
  FirstPlace(c.title, &place);
  char saved[kConversionPathSize] = {};
  if (Flatten() != 0) return false;
  // Files of these names beside the user's document are the user's: the
  // host would save over them, and the end of the command delete them.
  bool ok = FormatConversionPath(place, "_vora.tif", saved, sizeof saved) &&
            FormatConversionPath(place, "_16bit.tif", c.file, sizeof c.file) && !FileExists(saved) &&
            !FileExists(c.file) && SaveDocumentAsTiff(saved) == 0;
  if (!ok) {
    TemporaryPlace(c.title, &place);
    ok = FormatConversionPath(place, "_vora.tif", saved, sizeof saved) &&
         FormatConversionPath(place, "_16bit.tif", c.file, sizeof c.file) && SaveDocumentAsTiff(saved) == 0;
  }
  if (!ok) return false;
  c.written = true;
  // A file already there under the new name is never replaced: the saved
  // file is opened under its own name instead.
  if (!MoveFileA(saved, c.file)) std::snprintf(c.file, sizeof c.file, "%s", saved);
  const int selection = ReadSelectionState();
  if (selection < 0) return false;
  const bool selected = selection == 1;
  if (selected && SaveSelectionAsChannel(kSelectionChannel, kDialogNone) != 0) return false;
  c.opened = OpenAsSixteenBitTiff(c.file) == 0;
  return c.opened && ReplaceOriginal(c.title, selected);
}

// The whole conversion is one step of the user's document: when a part
// fails, the host drops it and the document is as it was before.
host::SPErr PngStep(void* data) {
  try {
    return ConvertByPng(*static_cast<Conversion*>(data)) ? 0 : host::kInterruptedError;
  } catch (...) {
    return host::kInterruptedError;
  }
}
host::SPErr TiffStep(void* data) {
  try {
    return ConvertByTiff(*static_cast<Conversion*>(data)) ? 0 : host::kInterruptedError;
  } catch (...) {
    return host::kInterruptedError;
  }
}

}  // namespace

std::int32_t ConvertTo16Bit() {
  if (HostMajorVersion < 6) return 0;
  if (MessageBoxA(MainWindow, MessageTable[1], MessageTable[2], MB_OKCANCEL) != IDOK) return 0;
  char title[kTitleSize] = {};
  ReadDocumentTitle(title, sizeof title);
  Conversion c{title};
  const bool png = HostMajorVersion >= 8;
  const bool converted = RunHistoryStep(png ? PngStep : TiffStep, &c, MenuLabels[10]) == 0;
  if (c.written && (png || c.opened)) {
    DeleteFileA(c.file);
  } else if (c.written) {
    // The image the user's document was flattened into stays where it is.
    ShowMessage(MessageTable[2], HostIsGerman ? kKeptFileGerman : kKeptFileEnglish, c.file);
  }
  if (png) PurgeClipboard();
  return converted && c.opened ? 1 : 0;
}
