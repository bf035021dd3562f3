# Builds the page that wordlist-graph --html writes from its files in
# PAGE_DIR: the style and the script go inline into page.html, each
# allowed by the page's Content-Security-Policy through its SHA-256 hash,
# the list's source LIST_SOURCE goes in as text for the page to step
# through, and the page is cut at @DATA@, where the program writes the
# listing. The two halves become byte arrays in OUTPUT, a C++ source.
#   cmake -DPAGE_DIR=graph/page -DLIST_SOURCE=src/word_list.cpp \
#     -DOUTPUT=page_template.cpp -P embed_page.cmake
#
# The script is made of ES modules, so that Node can test them one by
# one: here they are joined, each after the modules it imports, with their
# imports dropped and `export ` taken off. All of them share one scope
# there, so the join refuses two modules that declare the same top-level
# name, an import of a module not in this list, an import cycle and an
# import that renames (`as`).
cmake_policy(VERSION 3.25)
set(modules words.js replay.js code_steps.js run.js position.js texts.js layout.js fragment.js
  drawing.js plot.js page.js main.js)

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

file(READ "${PAGE_DIR}/page.html" page)
file(READ "${PAGE_DIR}/page.css" style)
# Each module's text, the modules it imports and the names it declares.
set(declared "")
foreach(module IN LISTS modules)
  file(READ "${PAGE_DIR}/${module}" text)
  if(text MATCHES "(^|\n)import [^;]* as ")
    message(FATAL_ERROR "${module}: an import renames what it imports")
  endif()
  # (without their semicolons, which would split CMake's list)
  string(REGEX MATCHALL "(^|\n)import [^;]* from '[^']*'" imports "${text}")
  set(needs_${module} "")
  foreach(import IN LISTS imports)
    string(REGEX REPLACE ".* from '\\./([^']*)'$" "\\1" needed "${import}")
    if(NOT needed IN_LIST modules)
      message(FATAL_ERROR "${module}: imports ${needed}, which is not among the page's modules")
    endif()
    list(APPEND needs_${module} "${needed}")
  endforeach()
  string(REGEX REPLACE "(^|\n)import [^;]*;\n" "\\1" text "${text}")
  string(REGEX REPLACE "(^|\n)export " "\\1" text "${text}")
  if(text MATCHES "(^|\n)(import|export)[ {]")
    message(FATAL_ERROR "${module}: an import or export the build cannot take apart")
  endif()
  if(text MATCHES "(^|\n)(const|let|var) [[{]")
    message(FATAL_ERROR "${module}: a top-level declaration the build cannot name")
  endif()
  string(REGEX MATCHALL "(^|\n)(async )?(function\\*?|const|let|var|class) [A-Za-z_$][A-Za-z0-9_$]*"
         names "${text}")
  foreach(name IN LISTS names)
    string(REGEX REPLACE ".* " "" name "${name}")
    if(DEFINED owner_${name})
      message(FATAL_ERROR "${module} and ${owner_${name}} both declare ${name}")
    endif()
    set(owner_${name} "${module}")
  endforeach()
  set(text_${module} "${text}")
endforeach()

# The modules in an order where each follows what it imports.
set(script "'use strict';\n\n(() => {\n")
set(placed "")
set(waiting ${modules})
while(waiting)
  set(progress FALSE)
  foreach(module IN LISTS waiting)
    set(ready TRUE)
    foreach(needed IN LISTS needs_${module})
      if(NOT needed IN_LIST placed)
        set(ready FALSE)
      endif()
    endforeach()
    if(ready)
      list(APPEND placed ${module})
      list(REMOVE_ITEM waiting ${module})
      string(APPEND script "\n// ---- ${module}\n\n${text_${module}}")
      set(progress TRUE)
    endif()
  endforeach()
  if(NOT progress)
    message(FATAL_ERROR "The page's modules import each other in a cycle: ${waiting}")
  endif()
endwhile()
string(APPEND script "})();\n")
file(READ "${LIST_SOURCE}" source)
string(TOLOWER "${script}" lower_script)
string(TOLOWER "${style}" lower_style)
string(TOLOWER "${source}" lower_source)
if(lower_script MATCHES "</script" OR lower_style MATCHES "</style" OR
   lower_source MATCHES "</script|<!--")
  message(FATAL_ERROR "The page's script, style or source would end its own element early")
endif()
csp_hash("${style}" style_hash)
csp_hash("${script}" script_hash)
string(REPLACE "@STYLE_HASH@" "${style_hash}" page "${page}")
string(REPLACE "@SCRIPT_HASH@" "${script_hash}" page "${page}")
string(REPLACE "@STYLE@" "${style}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
string(REPLACE "@SOURCE@" "${source}" page "${page}")
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
