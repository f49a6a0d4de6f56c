set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

# The thread model of the runtime that is linked in statically. The shipped
# plug-in must load on Windows XP: the posix model brings the winpthreads
# library, which calls functions XP lacks (GetTickCount64), while the win32
# model uses only XP's own critical sections, semaphores and thread-local
# slots. The plug-in starts no threads and takes no locks, so it needs no
# more. The simulated editor locks a std::mutex, which only the posix model
# offers: a 32-bit tree with the editor and the tests is built with posix.
if(DEFINED QB_WITH_SIM_AND_TESTS AND NOT QB_WITH_SIM_AND_TESTS)
  set(QB_DEFAULT_MINGW_THREADS win32)
else()
  set(QB_DEFAULT_MINGW_THREADS posix)
endif()
set(QB_MINGW_THREADS ${QB_DEFAULT_MINGW_THREADS} CACHE STRING "Thread model of the mingw-w64 runtime: win32 or posix")
set_property(CACHE QB_MINGW_THREADS PROPERTY STRINGS win32 posix)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QB_MINGW_THREADS)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${QB_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${QB_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
