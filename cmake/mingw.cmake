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

# `wine` as scripts/corvan puts it on the PATH: the loader that runs this processor's programs on this host.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
