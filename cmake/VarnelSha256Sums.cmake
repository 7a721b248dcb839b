# CPack pre-build script: writes SHA256SUMS into the package's staging
# folder, one "<hash>  <path>" line per file in path order, the format
# `sha256sum -c` reads.
file(GLOB_RECURSE files RELATIVE ${CPACK_TEMPORARY_INSTALL_DIRECTORY} ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*)
list(REMOVE_ITEM files SHA256SUMS)
list(SORT files)
set(sums "")
foreach(file IN LISTS files)
  file(SHA256 ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/${file} hash)
  string(APPEND sums "${hash}  ${file}\n")
endforeach()
file(WRITE ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/SHA256SUMS "${sums}")
