# Checks that doc/layout.md names every file under src/, graph/, trace/
# and wasm/, written as `path` from the repository's root, so that the
# page that says what each file knows cannot fall behind the files.
#   cmake -DROOT=. -P tests/layout_named.cmake
cmake_policy(VERSION 3.25)
file(READ "${ROOT}/doc/layout.md" layout)
set(unnamed "")
foreach(folder src graph trace wasm)
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${ROOT}" "${ROOT}/${folder}/*")
  foreach(path IN LISTS files)
    string(FIND "${layout}" "`${path}`" at)
    if(at LESS 0)
      list(APPEND unnamed "${path}")
    endif()
  endforeach()
endforeach()
if(unnamed)
  list(JOIN unnamed ", " unnamed)
  message(FATAL_ERROR "doc/layout.md does not name: ${unnamed}")
endif()
