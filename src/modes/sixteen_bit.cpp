#include "modes/sixteen_bit.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "commands/masks.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/layer_queries.h"
#include "modes/conversion_paths.h"
#include "modes/document_steps.h"
#include "modes/script_bridge.h"
#include "modes/seed_image.h"

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

bool WriteSeed(const char* path) {
  const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
  MSG message;
  while (PeekMessageA(&message, MainWindow, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
    if (message.message == WM_QUIT || (message.message == WM_CLOSE && message.hwnd == MainWindow)) break;
  }
}

bool TitleIs(const char* expected) {
  char title[kTitleSize] = {};
  return ReadDocumentTitle(title, sizeof title) && std::strcmp(title, expected) == 0;
}

// The 16-bit document, current, holds the image: the user's document is
// closed (only now, and only that one, found by its title) and the
// selection saved in it comes over. False when the user's document stays
// open, which keeps everything it holds.
bool ReplaceOriginal(const char* oldTitle, bool selected) {
  char newTitle[kTitleSize] = {};
  if (!oldTitle || !oldTitle[0] || !ReadDocumentTitle(newTitle, sizeof newTitle)) return false;
  if (std::strcmp(oldTitle, newTitle) == 0) return false;  // the two could not be told apart
  if (!ActivateDocumentByTitle(oldTitle) || !TitleIs(oldTitle)) return false;
  if (selected && DuplicateChannelToDocument(kSelectionChannel, newTitle) != 0) selected = false;
  if (CloseDocument(false) != 0) return false;
  if (!TitleIs(newTitle) && !ActivateDocumentByTitle(newTitle)) return true;
  if (selected && LoadSelectionFromNamedChannel(kSelectionChannel) == 0 &&
      SelectChannelByName(kSelectionChannel) == 0)
    DeleteTargetChannel();
  return true;
}

std::int32_t ConvertByPng(const char* title) {
  ConversionPlace place{};
  FirstPlace(title, &place);
  char seed[kConversionPathSize] = {};
  const bool placed = FormatConversionPath(place, "_16bit.png", seed, sizeof seed);
  std::int32_t width = 0;
  std::int32_t height = 0;
  if (ReadDocumentWidth(&width) != 0 || ReadDocumentHeight(&height) != 0 || width < 1 || height < 1) return 0;
  const int selection = ReadSelectionState();
  if (selection < 0) return 0;
  const bool selected = selection == 1;
  if (selected && SaveSelectionAsChannel(kSelectionChannel, kDialogNone) != 0) return 0;
  if (FlattenImage() != 0) return 0;
  DrainMainWindowMessages();
  if (SelectAll() != 0 || CopySelection() != 0) return 0;

  RunJavaScript(kSnapshotOff, false);
  bool written = placed && WriteSeed(seed);
  if (!written) {
    TemporaryPlace(title, &place);
    written = FormatConversionPath(place, "_16bit.png", seed, sizeof seed) && WriteSeed(seed);
  }
  const bool opened = written && OpenFile(seed, kDialogNone) == 0;
  if (AutoCreateFirstSnapshotSetting()) RunJavaScript(kSnapshotOn, false);

  if (opened) {
    // The user's document goes only once this one holds the image.
    const bool pasted = CanvasSizeWhite(width, height) == 0 && SelectAll() == 0 && PasteInto() == 0;
    if (pasted) {
      Deselect();
      if (ReplaceOriginal(title, selected)) ClearHistory();
    }
  }
  PurgeClipboard();
  if (written) DeleteFileA(seed);
  return opened ? 1 : 0;
}

std::int32_t ConvertByTiff(const char* title) {
  ConversionPlace place{};
  FirstPlace(title, &place);
  char saved[kConversionPathSize] = {};
  char reopened[kConversionPathSize] = {};
  if (FlattenImage() != 0) return 0;
  bool ok = FormatConversionPath(place, "_vora.tif", saved, sizeof saved) &&
            FormatConversionPath(place, "_16bit.tif", reopened, sizeof reopened) && SaveDocumentAsTiff(saved) == 0;
  if (!ok) {
    TemporaryPlace(title, &place);
    ok = FormatConversionPath(place, "_vora.tif", saved, sizeof saved) &&
         FormatConversionPath(place, "_16bit.tif", reopened, sizeof reopened) && SaveDocumentAsTiff(saved) == 0;
  }
  if (!ok) return 0;
  // A file already there under the new name is the user's: it is never
  // replaced, and the saved file is opened under its own name instead.
  const char* file = MoveFileA(saved, reopened) ? reopened : saved;
  const bool selected = ReadSelectionState() == 1 && SaveSelectionAsChannel(kSelectionChannel, kDialogNone) == 0;
  if (OpenAsSixteenBitTiff(file) != 0) {
    // The image the user's document was flattened into stays where it is.
    ShowMessage(MessageTable[2], HostIsGerman ? kKeptFileGerman : kKeptFileEnglish, file);
    return 0;
  }
  ReplaceOriginal(title, selected);
  DeleteFileA(file);
  return 1;
}

}  // namespace

std::int32_t ConvertTo16Bit() {
  if (HostMajorVersion < 6) return 0;
  if (MessageBoxA(MainWindow, MessageTable[1], MessageTable[2], MB_OKCANCEL) != IDOK) return 0;
  char title[kTitleSize] = {};
  ReadDocumentTitle(title, sizeof title);
  return HostMajorVersion >= 8 ? ConvertByPng(title) : ConvertByTiff(title);
}
