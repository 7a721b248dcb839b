# varnel_add_version_info(<target> "<file description>")
# Gives a Windows executable or DLL its VERSIONINFO resource: file and
# product version from project(VERSION), the description, the original file
# name and the product name "Varnel". The .rc is generated per target from
# resources/VersionInfo.rc.in. Does nothing outside Windows builds.
function(varnel_add_version_info target description)
  if(NOT WIN32)
    return()
  endif()
  set(parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH} ${PROJECT_VERSION_TWEAK})
  set(VARNEL_VERSION_COMMAS "")
  foreach(part IN LISTS parts)
    if(part STREQUAL "")
      set(part 0)
    endif()
    string(APPEND VARNEL_VERSION_COMMAS "${part},")
  endforeach()
  string(REGEX REPLACE ",$" "" VARNEL_VERSION_COMMAS "${VARNEL_VERSION_COMMAS}")

  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set(VARNEL_FILE_TYPE VFT_DLL)
  else()
    set(VARNEL_FILE_TYPE VFT_APP)
  endif()
  set(VARNEL_FILE_DESCRIPTION "${description}")
  # The file names come from the target as built (OUTPUT_NAME, PREFIX).
  set(VARNEL_ORIGINAL_FILE_NAME "$<TARGET_FILE_NAME:${target}>")
  set(VARNEL_INTERNAL_NAME "$<TARGET_FILE_BASE_NAME:${target}>")

  file(READ ${PROJECT_SOURCE_DIR}/resources/VersionInfo.rc.in template)
  string(CONFIGURE "${template}" content @ONLY)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.version.rc)
  file(GENERATE OUTPUT ${rc} CONTENT "${content}")
  target_sources(${target} PRIVATE ${rc})
  set_target_properties(${target} PROPERTIES VARNEL_VERSION_INFO ON)
endfunction()
