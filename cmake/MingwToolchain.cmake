# Cross build for Windows with Debian's mingw-w64 (posix thread variant). Included by
# toolchain-<triple>.cmake, which sets SKORVIN_MINGW_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR ${SKORVIN_MINGW_TRIPLE})

set(CMAKE_C_COMPILER ${SKORVIN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SKORVIN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SKORVIN_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SKORVIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime (libstdc++, libgcc, winpthread) goes inside every program
# and DLL, so that they run without the toolchain's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
# A static import library (odbc32) must not switch the rest of the link line back to DLLs.
set(CMAKE_LINK_SEARCH_END_STATIC ON)

# Wine runs the programs for CTest and for test discovery: Debian's 32-bit loader ("wine",
# from wine32:i386) for the 32-bit build, its 64-bit loader for the 64-bit one.
# -DSKORVIN_WINE=OFF (a machine that cannot start them) only builds the programs.
if(NOT DEFINED SKORVIN_WINE OR SKORVIN_WINE)
  if(SKORVIN_MINGW_TRIPLE MATCHES "^x86_64")
    find_program(SKORVIN_WINE_LOADER NAMES wine64 PATHS /usr/lib/wine)
  else()
    find_program(SKORVIN_WINE_LOADER NAMES wine PATHS /usr/lib/wine)
  endif()
  if(SKORVIN_WINE_LOADER)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${SKORVIN_WINE_LOADER})
  endif()
endif()
