// The host events Quick Mask mode and the conversion to 16 bits per channel
// are made of: documents duplicated, found, converted, resized, saved,
// opened and closed, the clipboard, the history, a temporary layer. Each
// plays one event with no dialog unless it says otherwise and returns the
// host's result (0 for success).
#pragma once

#include <cstdint>

// `Dplc` of the current document (`Dcmn`, `Ordn` / `Frst`): with a name, in
// the background; without one, through the host's dialog.
std::int32_t DuplicateDocument(const char* name);
// `Dplc` of the channel of this name into the document of that title.
std::int32_t DuplicateChannelToDocument(const char* channel, const char* document);
// `slct` of the document this far from the current one.
std::int32_t SelectDocumentByOffset(std::int32_t offset);
// Makes the open document of exactly this title the current one: 1 when it
// was found and selected, else 0 (nothing is played).
int ActivateDocumentByTitle(const char* title);
// `CnvM` to 8 bits per channel, layers kept.
std::int32_t ConvertToEightBits();
std::int32_t ClearHistory();
std::int32_t PurgeClipboard();
std::int32_t CopySelection();
std::int32_t PasteInto();
// `CnvS` to this size in pixels, centred, extended with white.
std::int32_t CanvasSizeWhite(double width, double height);
std::int32_t SaveDocumentAsTiff(const char* path);
// Opens a TIFF through the raw converter at 16 bits per channel.
std::int32_t OpenAsSixteenBitTiff(const char* path);
// `Opn ` of the file (null: the host asks which) with this dialog mode.
std::int32_t OpenFile(const char* path, std::int32_t mode);
// Closes the current document; `save` false drops what it did not save.
std::int32_t CloseDocument(bool save);
// `Mk  ` of a layer, named when `name` is not null.
std::int32_t MakeLayer(const char* name);
// `setd` of the target layer's opacity alone (percent).
std::int32_t SetLayerOpacity(double percent);
// The host's interactive free transform of the target layer (its dialog).
std::int32_t FreeTransformTarget();

// The current document's title (`Ttl `) and the path of its file (`FilR`);
// false when the host did not answer (the buffer is then empty).
bool ReadDocumentTitle(char* buffer, std::uint32_t size);
bool ReadDocumentFilePath(char* buffer, std::uint32_t size);
