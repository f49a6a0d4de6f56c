// A plug-in that fails on purpose, to show that the editor reports a fault
// inside the plug-in instead of ending silently: "Do It" throws a C++
// exception, "About" writes through a null pointer.
#include <cstring>
#include <stdexcept>

extern "C" __declspec(dllexport) int AutoPluginMain(const char*, const char* selector, void*) {
  if (std::strcmp(selector, "Do It") == 0) throw std::runtime_error("thrown on purpose");
  if (std::strcmp(selector, "About") == 0) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  }
  return 0;
}
