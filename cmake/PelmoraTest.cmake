# pelmora_add_test(<name> SOURCES <files...> LIBS <libs...> [WINDOWS])
#
# One test program, one CTest entry. WINDOWS marks a program that opens real
# windows: processes of one Wine prefix share a desktop, so those run one at a time.
function(pelmora_add_test name)
  cmake_parse_arguments(T "WINDOWS" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(T_WINDOWS)
    # Window tests start like the program does (common controls, error display).
    target_link_libraries(${name} PRIVATE test_support)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(T_WINDOWS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
  endif()
endfunction()
