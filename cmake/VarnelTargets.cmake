# Helpers shared by every folder's CMakeLists.txt.

# varnel_add_test(NAME <name> [ARCH] SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable registered as one CTest test: under Wine a
# process costs far more than a test case, so cases never become separate
# CTest entries. Its main ends it when it makes no progress for a minute;
# CTest's limit is the last resort. ARCH marks a test whose outcome can
# depend on the architecture (the exports and their calling convention, the
# dialog, the save, the table reader): the 32-bit build builds and runs only
# these (label "arch", target varnel_arch_tests).
function(varnel_add_test)
  cmake_parse_arguments(ARG "ARCH" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} varnel_test_main)
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
  set_tests_properties(${ARG_NAME} PROPERTIES TIMEOUT 180)
  if(ARG_ARCH)
    varnel_arch_test(${ARG_NAME} ${ARG_NAME})
  endif()
endfunction()

# varnel_arch_test(<test> <target>): labels a test "arch" and adds its
# executable to varnel_arch_tests.
function(varnel_arch_test test target)
  set_property(TEST ${test} APPEND PROPERTY LABELS arch)
  if(NOT TARGET varnel_arch_tests)
    add_custom_target(varnel_arch_tests)
  endif()
  add_dependencies(varnel_arch_tests ${target})
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
