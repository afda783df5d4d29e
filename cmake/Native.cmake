# Native tree: the portable core under AddressSanitizer and UBSan, its unit tests, the fuzz harnesses
# replayed over their corpora, and (when Google Benchmark is found) the benchmarks.
option(UPDATER_SANITIZE "Build the native tree under AddressSanitizer and UBSan" ON)
set(SANITIZE)
if(UPDATER_SANITIZE)
  set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
endif()
find_package(GTest REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
find_package(JPEG REQUIRED)
find_package(ZLIB REQUIRED)

add_library(core STATIC ${CORE_SOURCES})
target_include_directories(core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(core PRIVATE ${WARNINGS} ${SANITIZE} -g)
target_link_options(core PUBLIC ${SANITIZE})
target_compile_options(core PUBLIC ${SANITIZE})
target_link_libraries(core PUBLIC JPEG::JPEG)

file(GLOB TKZIP_CORE CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tkzip/*.cpp)
list(FILTER TKZIP_CORE EXCLUDE REGEX "Win32\\.cpp$")
if(TKZIP_CORE)
  add_library(tkzipcore STATIC ${TKZIP_CORE})
  target_include_directories(tkzipcore PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(tkzipcore PRIVATE ${WARNINGS} -g)
  target_compile_options(tkzipcore PUBLIC ${SANITIZE})
  target_link_options(tkzipcore PUBLIC ${SANITIZE})
  target_link_libraries(tkzipcore PUBLIC core PkgConfig::LIBZIP ZLIB::ZLIB)
endif()

file(GLOB_RECURSE UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TESTS})
target_compile_options(unit_tests PRIVATE ${WARNINGS} -g)
target_link_libraries(unit_tests PRIVATE core GTest::gtest GTest::gmock GTest::gtest_main)
if(TARGET tkzipcore)
  target_link_libraries(unit_tests PRIVATE tkzipcore)
endif()
target_compile_definitions(unit_tests PRIVATE FIXTURES_DIR="${CMAKE_SOURCE_DIR}/tests/fixtures"
  RESOURCES_DIR="${CMAKE_SOURCE_DIR}/resources")
include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

# Each harness in fuzz/ is built twice: by default with a replay driver that runs it over its corpus as a
# regression test, and with UPDATER_LIBFUZZER (clang, scripts/fuzz) as a libFuzzer binary.
option(UPDATER_LIBFUZZER "Build the fuzz harnesses with libFuzzer (clang only)" OFF)
if(UPDATER_LIBFUZZER)
  target_compile_options(core PUBLIC -fsanitize=fuzzer-no-link)
endif()
file(GLOB HARNESSES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*Fuzz.cpp)
foreach(h ${HARNESSES})
  get_filename_component(name ${h} NAME_WE)
  if(UPDATER_LIBFUZZER)
    add_executable(${name} ${h})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(${name} ${h} ${CMAKE_SOURCE_DIR}/fuzz/ReplayMain.cpp)
    add_test(NAME ${name}.corpus COMMAND ${name} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
  endif()
  target_link_libraries(${name} PRIVATE core)
  if(TARGET tkzipcore)
    target_link_libraries(${name} PRIVATE tkzipcore)
  endif()
endforeach()

find_package(benchmark QUIET)
file(GLOB BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
if(benchmark_FOUND AND BENCHES)
  add_executable(native_bench ${BENCHES})
  target_compile_options(native_bench PRIVATE ${WARNINGS})
  target_compile_definitions(native_bench PRIVATE RESOURCES_DIR="${CMAKE_SOURCE_DIR}/resources"
    GIF_SAMPLES_DIR="${CMAKE_SOURCE_DIR}/../shared/gif-samples")
  # giflib is the GIF decoders' baseline only; the product never links it.
  target_link_libraries(native_bench PRIVATE core benchmark::benchmark_main gif)
endif()

# The folders' floors (tools/check_floors.py), on the real tree and on small trees that break them.
add_test(NAME floors.tree COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/check_floors.py ${CMAKE_SOURCE_DIR})
add_test(NAME floors.check COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/test_check_floors.py)
set_tests_properties(floors.tree floors.check PROPERTIES LABELS floors)

# The benchmark report (bench/BenchReport.py) on small runs made up for it.
add_test(NAME bench.report COMMAND python3 ${CMAKE_SOURCE_DIR}/bench/test_BenchReport.py)
set_tests_properties(bench.report PROPERTIES LABELS bench)
