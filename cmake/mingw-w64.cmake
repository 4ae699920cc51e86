# Cross-compiling for 64-bit Windows with Debian's mingw-w64. scripts/windows builds Qt with a copy of this
# file, which Qt's qt-cmake then loads for every program built against that Qt.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The -posix flavour: its libstdc++ has std::thread and std::mutex, which the -win32 one lacks.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# SQLite from scripts/windows's cache, unless a build names another.
if(NOT DEFINED TESSIMOR_WINDOWS_CACHE)
    if(NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
        set(TESSIMOR_WINDOWS_CACHE "$ENV{XDG_CACHE_HOME}/tessimor-windows")
    else()
        set(TESSIMOR_WINDOWS_CACHE "$ENV{HOME}/.cache/tessimor-windows")
    endif()
endif()

# Headers and libraries come from the Windows side only, never from the build machine's /usr; programs
# (moc, rcc, windres) from the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${TESSIMOR_WINDOWS_CACHE}/sqlite-mingw")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
