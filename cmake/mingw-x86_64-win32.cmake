# The program built as it ships, for 64-bit Windows: what the tests start where Wine runs no 32-bit code.
set(CORVAN_PROCESSOR x86_64)
set(CORVAN_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
