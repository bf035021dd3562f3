# WASI, for CMake, which does not know it: programs are WebAssembly
# modules, and there are no shared libraries.
set(CMAKE_EXECUTABLE_SUFFIX ".wasm")
set_property(GLOBAL PROPERTY TARGET_SUPPORTS_SHARED_LIBS FALSE)
