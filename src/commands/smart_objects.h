// Smart objects: made from the target layer, opened from files, copied,
// and their contents edited, exported and replaced. Every operation plays
// its host events on the current document with no dialog unless it says
// otherwise and returns the host's result (0 for success).
#pragma once

#include <cstddef>

#include <cstdint>

std::int32_t NewSmartObjectViaCopy();
// Opens the contents as a new document, tells the user once how to commit
// them, and saves them back in the host's own format.
std::int32_t EditSmartObjectContents();
// An empty path lets the host ask for the file.
std::int32_t ExportSmartObjectContents(const char* path);
std::int32_t ReplaceSmartObjectContents(const char* path);
// `path` null: the host asks which file.
std::int32_t OpenAsSmartObject(const char* path, std::int32_t mode);
std::int32_t SaveDocumentAsPsd(const char* path);
std::int32_t NewDocumentFromLayer(const char* name);
std::int32_t DuplicateLayerToDocument(const char* document);
std::int32_t SelectLayerByName(const char* name);
std::int32_t SelectLayerAtIndex(std::int32_t index);
std::int32_t SelectAllLayers();

// The named command "Create Smart Object": the target layer becomes a
// smart object holding it. 0 when it ran to its end, else the first error
// (the caller's step is then dropped). The user's layer goes only once its
// smart object is in the document.
std::int32_t CreateSmartObject();

// The open-as-smart-object menu command. True when the opened file's
// layers are now to be made a smart object ("Create Smart Object").
bool OpenAsSmartObjectCommand();

// The user's document's file name: the part of its path after the last
// backslash (all of it when there is none).
const char* FileNameOfPath(const char* path);

// The name that addresses the user's document in events: its file name, or
// its title when it was never saved. Empty when neither can be read.
void ReadUserDocumentName(char* name, std::size_t size);
