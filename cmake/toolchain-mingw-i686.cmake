# Cross build for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686-posix).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VARNEL_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)

# Test executables run under 32-bit Wine, in a 32-bit prefix of their own
# beside the 64-bit one.
set(CMAKE_CROSSCOMPILING_EMULATOR env VARNEL_WINEARCH=win32 ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
