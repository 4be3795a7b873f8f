# Cross build for 32-bit Windows: the 64-bit toolchain file with the i686 target.
set(TARVELO_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
