#include <windows.h>

// The module keeps nothing at load time: everything starts with the host's
// first event.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
