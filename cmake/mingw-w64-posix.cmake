# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (posix thread model, so that
# std::thread and std::mutex work). Programs are linked statically: they run from any folder,
# under Windows or Wine, without the MinGW runtime DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KELVRA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KELVRA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVRA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVRA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KELVRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Windows programs built here run under Wine (Debian installs it outside PATH).
find_program(KELVRA_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(KELVRA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KELVRA_WINE})
endif()
