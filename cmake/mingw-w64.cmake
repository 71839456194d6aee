# Cross build for 64-bit Windows with the mingw-w64 compilers (POSIX-threads
# variant). Tests run under wine: CTest starts each test program through it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ARK_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${ARK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ARK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ARK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ARK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and the threads library linked in, so the programs
# run on a bare Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(ARK_WINE NAMES wine64 wine)
if(ARK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ARK_WINE})
endif()
