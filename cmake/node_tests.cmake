# A test that Node runs: `node ARGS...`, or, where Node is not installed,
# a test that says SKIPPED and is counted as skipped. ENVIRONMENT, LABELS
# and any other test properties follow PROPERTIES.
#   wordlist_node_test(NAME name ARGS args... PROPERTIES props...)
find_program(NODE node)

function(wordlist_node_test)
  cmake_parse_arguments(PARSE_ARGV 0 test "" "NAME" "ARGS;PROPERTIES")
  if(NODE)
    add_test(NAME ${test_NAME} COMMAND ${NODE} ${test_ARGS})
  else()
    add_test(NAME ${test_NAME} COMMAND ${CMAKE_COMMAND} -E echo "SKIPPED: node is not installed")
  endif()
  set_tests_properties(${test_NAME} PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED: " TIMEOUT 600
                       ${test_PROPERTIES})
endfunction()
