# Shared by scripts/test, scripts/test-guest and scripts/demo: configures and builds one tree.

# build_tree TREE [cmake arguments...]: configures build/TREE with Ninja and builds it.
build_tree() {
  local tree=$1; shift
  cmake -S . -B "build/$tree" -G Ninja "$@" >/dev/null
  cmake --build "build/$tree" -j2
}

# configure_shipped_tree TREE ON|OFF: configures build/TREE with the one recipe of the shipped i686 product
# (build/win32, which the tests run, and the release's build/release), its Wine tests listed or not.
configure_shipped_tree() {
  cmake -S . -B "build/$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DUPDATER_RUN_WINDOWS_TESTS="$2" >/dev/null
}

# build_shipped_tree ON|OFF: the shipped i686 tree build/win32, its Wine tests listed or not (listing them
# runs win_tests.exe, so only where 32-bit Wine runs it: on this machine or in the emulated guest).
build_shipped_tree() {
  configure_shipped_tree win32 "$1"
  cmake --build build/win32 -j2
}

# build_windows_trees: the shipped i686 tree, and the x86_64 tree where that is the one that runs here. The
# i686 tree lists its Wine tests only where they can run; its bitness checks run everywhere.
build_windows_trees() {
  local runs=ON
  [ "$(windows_test_tree)" = win64 ] && runs=OFF
  build_shipped_tree $runs
  if [ "$runs" = OFF ]; then
    build_tree win64 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release
  fi
}
