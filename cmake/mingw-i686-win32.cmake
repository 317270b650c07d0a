# The shipped program: the win32 thread model brings nothing that Windows XP lacks (the POSIX one's
# libwinpthread imports GetTickCount64).
set(CORVAN_PROCESSOR i686)
set(CORVAN_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
