#include "ui/file_chooser.h"

#include <windows.h>
#include <commdlg.h>

#include "entry/module_state.h"

bool ChooseFile(const char* filter, const char* defaultExtension, const char* title, const char* folder, char* path,
                std::size_t size) {
  if (!path || size == 0) return false;
  OPENFILENAMEA chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = MainWindow;
  chooser.lpstrFilter = filter;
  chooser.lpstrFile = path;
  chooser.nMaxFile = DWORD(size);
  chooser.lpstrInitialDir = folder;
  chooser.lpstrTitle = title;
  chooser.lpstrDefExt = defaultExtension;
  chooser.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameA(&chooser)) return false;
  path[size - 1] = '\0';
  return true;
}
