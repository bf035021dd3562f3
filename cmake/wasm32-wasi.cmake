# WebAssembly (wasm32, WASI) with Debian's clang 14 and lld 14, and the
# C and C++ libraries of wasi-libc, libc++-14-dev-wasm32,
# libc++abi-14-dev-wasm32 and libclang-rt-14-dev-wasm32: clang finds them
# without a --sysroot.
set(CMAKE_SYSTEM_NAME WASI)
# CMake has no platform file for WASI: ours is in platform/.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/platform)
set(CMAKE_SYSTEM_VERSION 1)
set(CMAKE_SYSTEM_PROCESSOR wasm32)

find_program(WORDLIST_WASM_CLANG NAMES clang++-14 REQUIRED)
set(CMAKE_CXX_COMPILER ${WORDLIST_WASM_CLANG})
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
# The C++ library is built without exceptions; a throw would not link.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions")
# A test program would need a runtime to run it.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
