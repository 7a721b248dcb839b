# What ships, and the release package. Included last by the top-level
# CMakeLists.txt, once every target exists.
#
# Each Windows build installs its binaries into a folder named after its
# architecture (x64/ or x86/), with the header for hosts, the host guide,
# the README and the license beside them. tools/package installs both
# builds into one CPack ZIP, varnel-<version>-windows.zip, whose SHA256SUMS
# lists every other file.
if(NOT WIN32)
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VARNEL_ARCH x64)
else()
  set(VARNEL_ARCH x86)
endif()

# The shipped binaries; the command-line tool where this tree has it, with
# version information of its own if its folder gave none.
set(VARNEL_SHIPPED_TARGETS Varnel varnel-host)
if(TARGET varnel)
  list(APPEND VARNEL_SHIPPED_TARGETS varnel)
  get_target_property(has_version varnel VARNEL_VERSION_INFO)
  if(NOT has_version)
    varnel_add_version_info(varnel "Varnel command-line tool")
  endif()
endif()
# `cmake --build --target varnel_shipped` builds only what ships.
add_custom_target(varnel_shipped DEPENDS ${VARNEL_SHIPPED_TARGETS})

install(TARGETS ${VARNEL_SHIPPED_TARGETS} RUNTIME DESTINATION ${VARNEL_ARCH} COMPONENT shipped
        LIBRARY DESTINATION ${VARNEL_ARCH} COMPONENT shipped)
install(FILES ${PROJECT_SOURCE_DIR}/src/interface/VarnelExports.h DESTINATION include COMPONENT shipped)
install(FILES ${PROJECT_SOURCE_DIR}/docs/HOSTING.md DESTINATION docs COMPONENT shipped)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . COMPONENT shipped)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME varnel)
set(CPACK_PACKAGE_VENDOR "Varnel developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME varnel-${PROJECT_VERSION}-windows)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# Release binaries without their debug information.
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/VarnelSha256Sums.cmake)
include(CPack)
