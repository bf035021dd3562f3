# Cross-compiles for 64-bit Windows with MinGW-w64, and runs the results
# under 64-bit Wine. Its loader is called directly: the `wine` wrapper
# prefers the 32-bit loader, which needs a kernel that runs i386 programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(WORDLIST_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
