# Builds for 32-bit x86 Linux with the host's multilib compilers (-m32).
#
# What is built must also run, for the tests: natively where the kernel
# runs i386 programs, otherwise under qemu's user-mode emulator. The
# environment variable WORDLIST_I386_RUN (native or emulated) chooses; when
# it is unset, a tiny -m32 program is built and run to find out.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")

# try_compile projects read this file too; they run nothing. The
# environment overrides an earlier choice; without it the probe runs once.
if(NOT CMAKE_IN_TRY_COMPILE AND (DEFINED ENV{WORDLIST_I386_RUN} OR NOT DEFINED CACHE{WORDLIST_I386_RUN}))
  set(run_mode "$ENV{WORDLIST_I386_RUN}")
  if(NOT run_mode)
    set(probe "${CMAKE_BINARY_DIR}/i386-probe")
    execute_process(
      COMMAND sh -c "printf 'int main(void){return 0;}' | gcc -m32 -x c - -o '${probe}' && '${probe}'"
      RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
    file(REMOVE "${probe}")
    if(probe_result EQUAL 0)
      set(run_mode native)
    else()
      set(run_mode emulated)
    endif()
  endif()
  if(NOT run_mode MATCHES "^(native|emulated)$")
    message(FATAL_ERROR "WORDLIST_I386_RUN must be native or emulated, not '${run_mode}'")
  endif()
  set(WORDLIST_I386_RUN "${run_mode}" CACHE STRING "How the i386 tests run: native or emulated" FORCE)
endif()

if(WORDLIST_I386_RUN STREQUAL "emulated")
  find_program(WORDLIST_QEMU_I386 qemu-i386-static REQUIRED)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${WORDLIST_QEMU_I386}")
endif()
message(STATUS "i386 programs run ${WORDLIST_I386_RUN}")
