# Helpers shared by every folder's CMakeLists.txt.

# varnel_add_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable registered as one CTest test: under Wine a
# process costs far more than a test case, so cases never become separate
# CTest entries.
function(varnel_add_test)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
  set_tests_properties(${ARG_NAME} PROPERTIES TIMEOUT 600)
endfunction()

# varnel_add_benchmark(NAME <name> SOURCES <files...> LIBS <targets...>)
function(varnel_add_benchmark)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()

# varnel_portable(<target>): marks a library as portable code. It must
# build with the host compiler and never see <windows.h>.
function(varnel_portable target)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_definitions(${target} PRIVATE VARNEL_PORTABLE=1)
endfunction()
