# Cross build for Windows with MinGW-w64, run through Wine. Included by the toolchain files, which name
# the processor (i686: the shipped program; x86_64: for hosts whose Wine runs 64-bit programs only) and
# the compiler's thread model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${CORVAN_PROCESSOR})

set(CMAKE_C_COMPILER ${CORVAN_PROCESSOR}-w64-mingw32-gcc-${CORVAN_THREADS})
set(CMAKE_CXX_COMPILER ${CORVAN_PROCESSOR}-w64-mingw32-g++-${CORVAN_THREADS})
set(CMAKE_RC_COMPILER ${CORVAN_PROCESSOR}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CORVAN_PROCESSOR}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The Wine loader of this processor's programs. Debian's `wine` takes the 32-bit loader wherever one is
# installed, which hands a 64-bit program over to the 64-bit loader in a process of its own; the x86_64
# programs are given to that loader directly (Debian puts it in /usr/lib/wine, not on the PATH).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
if(CORVAN_PROCESSOR STREQUAL x86_64)
    find_program(CORVAN_WINE64 wine64 PATHS /usr/lib/wine)
    if(CORVAN_WINE64)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${CORVAN_WINE64})
    endif()
endif()
