// The host's string dictionary (tw10428.dat): located and loaded on the first
// lookup, kept until shutdown. A failed load is not tried again while the
// host runs; every lookup then gives its default.
#pragma once

#include <string>

enum class DictionaryLoadState { NotTried, Loaded, Failed };

// The host's translation of a labelled text ("$$$/Key=Default"), or its
// default. Never fails; the first call loads the dictionary.
std::string LocalizeString(const char* labelled);

// Frees the dictionary and sets the load state back to not tried (shutdown).
void FreeHostDictionary();

DictionaryLoadState HostDictionaryState();

// Loads the dictionary of the host folder given (no trailing backslash) if
// no load was tried yet; LocalizeString does this with the host's folder.
void LoadHostDictionaryFrom(const char* hostFolder);

// The dictionary file of a host folder (no trailing backslash): the Required
// folder's, else the one of the host's language; empty when there is none.
std::string LocateHostDictionary(const char* hostFolder);

// Reads a dictionary file: the byte-order mark skipped, every UTF-16 code
// unit narrowed to one byte. False (and an empty text) when the file cannot
// be read whole.
bool ReadDictionaryText(const char* path, std::string& text);
