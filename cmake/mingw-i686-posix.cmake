# The Windows tests: GoogleTest needs std::mutex, which GCC 12 has only with the POSIX thread model.
set(CORVAN_PROCESSOR i686)
set(CORVAN_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
