# Builds a page from its files: the style and the script go inline into
# the page's HTML, each allowed by the page's Content-Security-Policy
# through its SHA-256 hash, and the list's source LIST_SOURCE goes in as
# text for the page to step through.
#
# By default, the page that wordlist-graph --html writes, from its files in
# PAGE_DIR, cut at @DATA@, where the program writes the listing: the two
# halves become byte arrays in OUTPUT, a C++ source.
#   cmake -DPAGE_DIR=graph/page -DLIST_SOURCE=src/word_list.cpp \
#     -DOUTPUT=page_template.cpp -P embed_page.cmake
#
# With PAGE=try, try.html, a whole page written to OUTPUT: the same page's
# modules and style with those of TRY_DIR, the WebAssembly module MODULE
# in base64, the script of the Worker that runs it (the loader LOADER and
# TRY_DIR's worker module) as text, and the sample SAMPLE in its text box.
#   cmake -DPAGE=try -DPAGE_DIR=graph/page -DTRY_DIR=wasm/page \
#     -DLOADER=wasm/module_loader.js -DMODULE=wordlist.wasm -DSAMPLE=neco.txt \
#     -DLIST_SOURCE=src/word_list.cpp -DOUTPUT=try.html -P embed_page.cmake
#
# A script is made of ES modules, so that Node can test them one by one:
# here they are joined, each after the modules it imports, with their
# imports dropped and `export ` taken off. All of them share one scope
# there, so the join refuses two modules that declare the same top-level
# name, an import of a module not in its list, an import cycle and an
# import that renames (`as`).
cmake_policy(VERSION 3.25)
set(page_modules words.js texts_en.js texts_cs.js language.js labels.js replay.js code_steps.js run.js
  position.js texts.js layout.js fragment.js pointers.js fade.js gestures.js canvas_sizes.js questions.js
  ask_told.js ask.js drawing.js ask_marks.js plot.js panels.js ask_panel.js ask_actions.js view.js page.js)
list(TRANSFORM page_modules PREPEND "${PAGE_DIR}/")

# A CSP source for `content`: 'sha256-' and the digest in base64.
function(csp_hash content out)
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  string(SHA256 hex "${content}")
  set(base64 "")
  # 32 bytes: ten groups of three, then two bytes and one '='.
  foreach(at RANGE 0 63 6)
    string(SUBSTRING "${hex}" ${at} 6 group)
    string(LENGTH "${group}" length)
    if(length EQUAL 4)
      math(EXPR value "0x${group} << 2")
      set(sextets 12 6 0)
    else()
      math(EXPR value "0x${group}")
      set(sextets 18 12 6 0)
    endif()
    foreach(shift IN LISTS sextets)
      math(EXPR index "(${value} >> ${shift}) & 63")
      string(SUBSTRING "${alphabet}" ${index} 1 digit)
      string(APPEND base64 "${digit}")
    endforeach()
  endforeach()
  set(${out} "sha256-${base64}=" PARENT_SCOPE)
endfunction()

# The contents of `file` as a C++ array of bytes named `name`.
function(byte_array file name out)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
  set(${out} "extern const unsigned char ${name}[];\nconst unsigned char ${name}[] = {\n${bytes}};\n"
      "extern const std::size_t ${name}Size;\nconst std::size_t ${name}Size = sizeof ${name};\n"
      PARENT_SCOPE)
endfunction()

# `modules` (paths) joined into one script, in `out`. An import names a
# module by its path from the importing one.
function(join_modules out)
  set(modules "")
  foreach(module IN LISTS ARGN)
    get_filename_component(module "${module}" ABSOLUTE)
    list(APPEND modules "${module}")
  endforeach()
  # Each module's text, the modules it imports and the names it declares,
  # by its index in `modules`.
  set(index 0)
  foreach(module IN LISTS modules)
    get_filename_component(name "${module}" NAME)
    get_filename_component(folder "${module}" DIRECTORY)
    file(READ "${module}" text)
    if(text MATCHES "(^|\n)import [^;]* as ")
      message(FATAL_ERROR "${name}: an import renames what it imports")
    endif()
    # (without their semicolons, which would split CMake's list)
    string(REGEX MATCHALL "(^|\n)import [^;]* from '[^']*'" imports "${text}")
    set(needs_${index} "")
    foreach(import IN LISTS imports)
      string(REGEX REPLACE ".* from '(\\.\\.?/[^']*)'$" "\\1" needed "${import}")
      get_filename_component(needed "${needed}" ABSOLUTE BASE_DIR "${folder}")
      if(NOT needed IN_LIST modules)
        message(FATAL_ERROR "${name}: imports ${needed}, which is not among the script's modules")
      endif()
      list(APPEND needs_${index} "${needed}")
    endforeach()
    string(REGEX REPLACE "(^|\n)import [^;]*;\n" "\\1" text "${text}")
    string(REGEX REPLACE "(^|\n)export " "\\1" text "${text}")
    # Comments on lines of their own are for the sources' readers: the
    # page goes without them, and without blank lines.
    string(REGEX REPLACE "(^|\n)[ ]*//[^\n]*" "" text "${text}")
    string(REGEX REPLACE "\n\n+" "\n" text "${text}")
    if(text MATCHES "(^|\n)(import|export)[ {]")
      message(FATAL_ERROR "${name}: an import or export the build cannot take apart")
    endif()
    if(text MATCHES "(^|\n)(const|let|var) [[{]")
      message(FATAL_ERROR "${name}: a top-level declaration the build cannot name")
    endif()
    string(REGEX MATCHALL "(^|\n)(async )?(function\\*?|const|let|var|class) [A-Za-z_$][A-Za-z0-9_$]*"
           names "${text}")
    foreach(declared IN LISTS names)
      string(REGEX REPLACE ".* " "" declared "${declared}")
      if(DEFINED owner_${declared})
        message(FATAL_ERROR "${name} and ${owner_${declared}} both declare ${declared}")
      endif()
      set(owner_${declared} "${name}")
    endforeach()
    set(name_${index} "${name}")
    set(text_${index} "${text}")
    math(EXPR index "${index} + 1")
  endforeach()

  # The modules in an order where each follows what it imports.
  set(script "'use strict';\n\n(() => {\n")
  set(placed "")
  set(waiting ${modules})
  while(waiting)
    set(progress FALSE)
    foreach(module IN LISTS waiting)
      set(ready TRUE)
      list(FIND modules "${module}" index)
      foreach(needed IN LISTS needs_${index})
        if(NOT needed IN_LIST placed)
          set(ready FALSE)
        endif()
      endforeach()
      if(ready)
        list(APPEND placed "${module}")
        list(REMOVE_ITEM waiting "${module}")
        string(APPEND script "${text_${index}}")
        set(progress TRUE)
      endif()
    endforeach()
    if(NOT progress)
      message(FATAL_ERROR "The script's modules import each other in a cycle: ${waiting}")
    endif()
  endwhile()
  string(APPEND script "})();\n")
  set(${out} "${script}" PARENT_SCOPE)
endfunction()

# Fails when `content`, put into an element of the page, would end it
# early: `pattern` (lower case) is what would.
function(refuse_early_end what content pattern)
  string(TOLOWER "${content}" lower)
  if(lower MATCHES "${pattern}")
    message(FATAL_ERROR "The page's ${what} would end its own element early")
  endif()
endfunction()

# The contents of `file` in base64, in `out`: each three hexadecimal
# digits (12 bits) become two base64 digits, through a table of all 4096.
function(base64_of file out)
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  set(hex_digits "0123456789abcdef")
  foreach(value RANGE 4095)
    math(EXPR high "${value} >> 8")
    math(EXPR middle "(${value} >> 4) & 15")
    math(EXPR low "${value} & 15")
    math(EXPR first "${value} >> 6")
    math(EXPR second "${value} & 63")
    string(SUBSTRING "${hex_digits}" ${high} 1 h)
    string(SUBSTRING "${hex_digits}" ${middle} 1 m)
    string(SUBSTRING "${hex_digits}" ${low} 1 l)
    string(SUBSTRING "${alphabet}" ${first} 1 a)
    string(SUBSTRING "${alphabet}" ${second} 1 b)
    set(b64_${h}${m}${l} "${a}${b}")
  endforeach()
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" length)
  math(EXPR whole "${length} / 6 * 6")
  math(EXPR left "${length} - ${whole}")
  string(SUBSTRING "${hex}" ${whole} -1 tail)
  string(SUBSTRING "${hex}" 0 ${whole} hex)
  string(REGEX REPLACE "(...)" "\\1;" tokens "${hex}")
  set(base64 "")
  foreach(token IN LISTS tokens)
    string(APPEND base64 "${b64_${token}}")
  endforeach()
  if(left EQUAL 2)
    string(APPEND base64 "${b64_${tail}0}==")
  elseif(left EQUAL 4)
    string(SUBSTRING "${tail}" 0 3 first)
    string(SUBSTRING "${tail}" 3 1 second)
    string(SUBSTRING "${b64_${second}00}" 0 1 last)
    string(APPEND base64 "${b64_${first}}${last}=")
  endif()
  set(${out} "${base64}" PARENT_SCOPE)
endfunction()

file(READ "${PAGE_DIR}/page.css" style)
file(READ "${LIST_SOURCE}" source)
refuse_early_end("source" "${source}" "</script|<!--")
if(PAGE STREQUAL "try")
  file(READ "${TRY_DIR}/try.html" page)
  file(READ "${TRY_DIR}/try.css" try_style)
  string(APPEND style "${try_style}")
  join_modules(script ${page_modules} "${TRY_DIR}/text_fragment.js" "${TRY_DIR}/counted.js"
    "${TRY_DIR}/try_page.js" "${TRY_DIR}/try_main.js")
  join_modules(worker "${LOADER}" "${TRY_DIR}/count_worker.js")
  refuse_early_end("worker's script" "${worker}" "</script|<!--")
  base64_of("${MODULE}" module)
  # The sample as the text box's text: its own markup escaped.
  file(READ "${SAMPLE}" sample)
  string(REPLACE "&" "&amp;" sample "${sample}")
  string(REPLACE "<" "&lt;" sample "${sample}")
else()
  file(READ "${PAGE_DIR}/page.html" page)
  join_modules(script ${page_modules} "${PAGE_DIR}/main.js")
endif()
refuse_early_end("script" "${script}" "</script")
refuse_early_end("style" "${style}" "</style")
csp_hash("${style}" style_hash)
csp_hash("${script}" script_hash)
string(REPLACE "@STYLE_HASH@" "${style_hash}" page "${page}")
string(REPLACE "@SCRIPT_HASH@" "${script_hash}" page "${page}")
string(REPLACE "@STYLE@" "${style}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
string(REPLACE "@SOURCE@" "${source}" page "${page}")
if(PAGE STREQUAL "try")
  string(REPLACE "@WORKER@" "${worker}" page "${page}")
  string(REPLACE "@MODULE@" "${module}" page "${page}")
  string(REPLACE "@SAMPLE@" "${sample}" page "${page}")
  # The replay: the graph page's own controls, from its header to its footer.
  file(READ "${PAGE_DIR}/page.html" graph_page)
  string(FIND "${graph_page}" "<header>" first)
  string(FIND "${graph_page}" "</footer>" last)
  if(first LESS 0 OR last LESS first)
    message(FATAL_ERROR "page.html has no <header> ... </footer> for the replay")
  endif()
  math(EXPR length "${last} + 9 - ${first}")
  string(SUBSTRING "${graph_page}" ${first} ${length} replay)
  string(REPLACE "@REPLAY@" "${replay}" page "${page}")
  file(WRITE "${OUTPUT}.new" "${page}")
  file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
  return()
endif()
string(FIND "${page}" "@DATA@" cut)
if(cut LESS 0)
  message(FATAL_ERROR "page.html has no @DATA@ for the listing")
endif()
string(SUBSTRING "${page}" 0 ${cut} head)
math(EXPR rest "${cut} + 6")
string(SUBSTRING "${page}" ${rest} -1 tail)
file(WRITE "${OUTPUT}.head" "${head}")
file(WRITE "${OUTPUT}.tail" "${tail}")
byte_array("${OUTPUT}.head" kPageHead head_array)
byte_array("${OUTPUT}.tail" kPageTail tail_array)
file(WRITE "${OUTPUT}.new" "// Generated from graph/page by cmake/embed_page.cmake: do not edit.\n"
  "#include <cstddef>\n\n${head_array}\n${tail_array}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
