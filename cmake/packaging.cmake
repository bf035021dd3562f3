# What `cmake --install` puts where, and the packages CPack makes of it:
# on Linux a Debian package (programs, compressed man pages, copyright and
# changelog), on Windows a zip with the programs at its top, README.txt
# and LICENSE.txt.

set(WORDLIST_MAINTAINER "The wordlist authors <wordlist@example.org>")
set(packaging_dir ${CMAKE_CURRENT_BINARY_DIR}/packaging)

# try.html, the page that counts any text with the list's code built to
# WebAssembly, is made by the wasm preset's build; a package carries the
# one named here.
set(WORDLIST_TRY_PAGE "" CACHE FILEPATH "try.html from the wasm preset's build, for the packages")
if(WORDLIST_TRY_PAGE AND NOT EXISTS "${WORDLIST_TRY_PAGE}")
  message(FATAL_ERROR "WORDLIST_TRY_PAGE names ${WORDLIST_TRY_PAGE}, which does not exist: "
    "build it first with cmake --workflow --preset wasm")
endif()

if(WIN32)
  install(TARGETS wordlist wordlist-graph wordlist-trace RUNTIME DESTINATION .)
  # Text files with Windows line ends.
  configure_file(packaging/README.txt.in ${packaging_dir}/README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(LICENSE ${packaging_dir}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${packaging_dir}/README.txt ${packaging_dir}/LICENSE.txt DESTINATION .)
  if(WORDLIST_TRY_PAGE)
    install(FILES ${WORDLIST_TRY_PAGE} DESTINATION .)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
else()
  include(GNUInstallDirs)
  install(TARGETS wordlist wordlist-graph wordlist-trace RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(WORDLIST_TRY_PAGE)
    install(FILES ${WORDLIST_TRY_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/wordlist)
  endif()

  # Compressed as Debian wants them: best compression, no name or time
  # stamp, so that the same sources give the same bytes.
  find_program(GZIP gzip REQUIRED)
  function(wordlist_gzip source output)
    add_custom_command(OUTPUT ${output}
      COMMAND ${GZIP} -9nc ${source} > ${output}
      DEPENDS ${source}
      COMMENT "Compressing ${output}")
  endfunction()

  set(man_pages)
  foreach(page wordlist.1 wordlist-graph.1 wordlist-trace.1)
    wordlist_gzip(${PROJECT_SOURCE_DIR}/man/${page} ${packaging_dir}/${page}.gz)
    list(APPEND man_pages ${packaging_dir}/${page}.gz)
  endforeach()
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  # The copyright in Debian's machine-readable form, the licence's text
  # indented, blank lines as " .".
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
  string(REGEX REPLACE "\n$" "" license_text "${license}")
  string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
  string(REPLACE "\n" "\n " license_text " ${license_text}")
  set(LICENSE_TEXT "${license_text}")
  configure_file(packaging/copyright.in ${packaging_dir}/copyright @ONLY)
  configure_file(packaging/changelog.in ${packaging_dir}/changelog @ONLY)
  wordlist_gzip(${packaging_dir}/changelog ${packaging_dir}/changelog.gz)
  add_custom_target(compressed_docs ALL DEPENDS ${man_pages} ${packaging_dir}/changelog.gz)
  install(FILES ${packaging_dir}/copyright ${packaging_dir}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/wordlist)

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS graphviz)
endif()

set(CPACK_PACKAGE_NAME wordlist)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_VENDOR "The wordlist authors")
set(CPACK_PACKAGE_CONTACT "${WORDLIST_MAINTAINER}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "show a text's words as a linked list, addresses and all")
set(CPACK_PACKAGE_DESCRIPTION "wordlist counts the words of the file neco.txt in a singly linked
list kept in byte order, and prints the list with its structure laid
open: for every element its position, its own address, the address of
the next element, its count and its word. It is a program to run to see
a linked list.
.
wordlist-graph reads such a listing, checks it, and draws it: as a
Graphviz graph of the list or of the heap, or as one self-contained
interactive page in which one follows the pointers, finds a word and
sees where list neighbours lie in memory.
.
wordlist-trace makes the same run and records every addition to the
list, so that wordlist-graph's page can replay how the list grew, walk
by walk, with the real addresses.
.
/usr/share/wordlist/try.html is the same code built to WebAssembly in
one offline page: type or drop any text and watch the list grow.")
include(CPack)
