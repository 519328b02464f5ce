# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX thread model, for std::thread):
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64.cmake
# The programs are linked statically, so they need no DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(WEMB_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${WEMB_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WEMB_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${WEMB_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${WEMB_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run through Wine; tools/test-all points WINEPREFIX into the build folder.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()
