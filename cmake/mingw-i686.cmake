# Cross compiling for 32-bit Windows (the shipped product) with the posix-threaded MinGW-w64 toolchain.
set(UPDATER_WIN_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
