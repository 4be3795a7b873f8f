# Cross build for Windows with Debian's mingw-w64 (the posix thread model, whose standard
# library has std::thread), tested under Wine: ctest runs each Windows program through
# cmake/wine-run in a Wine prefix inside the build directory. 64-bit unless a toolchain file
# that includes this one names another target first (mingw-w64-i686.cmake).
if(NOT TARVELO_MINGW_TARGET)
  set(TARVELO_MINGW_TARGET x86_64-w64-mingw32)
endif()
set(CMAKE_SYSTEM_NAME Windows)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${TARVELO_MINGW_TARGET})

set(CMAKE_C_COMPILER ${TARVELO_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVELO_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVELO_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARVELO_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${CMAKE_BINARY_DIR}/wine-prefix)
