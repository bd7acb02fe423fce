# Cross build for x64 Windows (build/x64/, 64-bit Windows), from the same
# sources as the 32-bit build.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
