// The editor's open-file chooser as the module's commands show it: owned by
// the main window, for a file that exists, leaving the current folder alone.
#pragma once

#include <cstddef>

// Shows the chooser for the files `filter` lists (pairs of zero-ended texts,
// the list ended by a second zero), opening in `folder`, with `path` as the
// name first shown (empty: none) and `defaultExtension` added to a name typed
// without one. On OK the chosen path is in `path` (at most `size` bytes,
// zero-ended) and the answer is true; a cancel leaves false.
bool ChooseFile(const char* filter, const char* defaultExtension, const char* title, const char* folder, char* path,
                std::size_t size);
