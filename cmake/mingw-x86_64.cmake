# Cross compiling the same sources for 64-bit Windows: the test tree on machines whose kernel runs no
# 32-bit user code, where only 64-bit Wine works.
set(UPDATER_WIN_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
