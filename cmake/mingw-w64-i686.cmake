# Cross-compiles for 32-bit Windows with MinGW-w64, and runs the results
# under Wine, which needs a kernel that runs i386 programs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(WORDLIST_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
