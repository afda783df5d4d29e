# Windows tree (i686 MinGW-w64): the product (Update.exe, TkZip.dll) and the Windows-side tests, which
# ctest runs under Wine through CMAKE_CROSSCOMPILING_EMULATOR.
set(DEPS_PREFIX ${UPDATER_DEPS_PREFIX})
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
# The shipped images keep their sections on page boundaries in the file, so that the loader maps them as
# they are instead of reading each one (the runtime's debug sections included) into fresh memory at every
# start: under Wine that reading was most of what Update.exe took longer than a minimal program to reach
# WinMain.
set(PAGE_ALIGNED_SECTIONS -Wl,--file-alignment=0x1000)
# The oldest Windows the code is written for (6.1: Windows 7). The shipped images declare the same in their
# PE header, as operating-system and subsystem version, so that an older Windows refuses them plainly at
# start instead of failing later at an entry point it lacks.
set(WINDOWS_API_MAJOR 6)
set(WINDOWS_API_MINOR 1)
math(EXPR WINDOWS_API_LEVEL "(${WINDOWS_API_MAJOR} << 8) | ${WINDOWS_API_MINOR}" OUTPUT_FORMAT HEXADECIMAL)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=${WINDOWS_API_LEVEL} WINVER=${WINDOWS_API_LEVEL})
set(DECLARED_WINDOWS_VERSION
    -Wl,--major-os-version=${WINDOWS_API_MAJOR},--minor-os-version=${WINDOWS_API_MINOR}
    -Wl,--major-subsystem-version=${WINDOWS_API_MAJOR},--minor-subsystem-version=${WINDOWS_API_MINOR})

# The same commit gives byte-identical images in any folder, at any time, on any machine: the linker writes no
# time into the PE header (0 instead), the compiler writes paths relative to the source and build trees (for
# __FILE__ and debug information), and static libraries are archived without times, owners or modes.
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=;-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>")
add_link_options(-Wl,--no-insert-timestamp)
foreach(lang C CXX)
  set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
endforeach()

# The version from VERSION, for the images' version resources (resources/VersionInfo.rh) and their test.
configure_file(${CMAKE_SOURCE_DIR}/resources/UpdaterVersion.h.in ${CMAKE_BINARY_DIR}/resources/UpdaterVersion.h)
set(VERSION_RESOURCE_DIRS ${CMAKE_SOURCE_DIR}/resources ${CMAKE_BINARY_DIR}/resources)

add_library(core STATIC ${CORE_SOURCES})
target_include_directories(core PUBLIC ${CMAKE_SOURCE_DIR} ${DEPS_PREFIX}/include)
target_compile_options(core PRIVATE ${WARNINGS})
target_link_libraries(core PUBLIC ${DEPS_PREFIX}/lib/libjpeg.a)

add_library(shell STATIC ${WIN32_SOURCES})
target_compile_options(shell PRIVATE ${WARNINGS})
target_link_libraries(shell PUBLIC core)

# TkZip.dll: the archive library with its one undecorated stdcall export.
file(GLOB TKZIP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tkzip/*.cpp)
if(TKZIP_SOURCES)
  add_library(TkZip SHARED ${TKZIP_SOURCES} ${CMAKE_SOURCE_DIR}/common/AsciiUpper.cpp
                           ${CMAKE_SOURCE_DIR}/common/AsideName.cpp
                           ${CMAKE_SOURCE_DIR}/common/AccessRulesWin32.cpp
                           ${CMAKE_SOURCE_DIR}/common/HoldWaits.cpp
                           ${CMAKE_SOURCE_DIR}/common/HoldsWin32.cpp
                           ${CMAKE_SOURCE_DIR}/common/ImageSwap.cpp
                           ${CMAKE_SOURCE_DIR}/common/ReplacementFileWin32.cpp
                           ${CMAKE_SOURCE_DIR}/common/TemporariesWin32.cpp
                           ${CMAKE_SOURCE_DIR}/common/WideTextWin32.cpp
                           ${CMAKE_SOURCE_DIR}/tkzip/TkZip.def
                           ${CMAKE_SOURCE_DIR}/resources/TkZip.rc)
  set_target_properties(TkZip PROPERTIES PREFIX "" OUTPUT_NAME TkZip)
  target_include_directories(TkZip PRIVATE ${CMAKE_SOURCE_DIR} ${DEPS_PREFIX}/include ${VERSION_RESOURCE_DIRS})
  target_compile_options(TkZip PRIVATE ${WARNINGS})
  target_link_options(TkZip PRIVATE ${STATIC_RUNTIME} ${PAGE_ALIGNED_SECTIONS} ${DECLARED_WINDOWS_VERSION} -Wl,--kill-at)
  target_link_libraries(TkZip PRIVATE ${DEPS_PREFIX}/lib/libzip.a /usr/${UPDATER_TRIPLE}/lib/libz.a bcrypt advapi32)
  # --kill-at strips the i686 import library's symbol too, while callers reference ProZip@12: dlltool
  # remakes the import library with the decorated symbol bound to the undecorated export. It is named
  # without its folder: dlltool makes symbols from the name, which would carry the build folder into
  # Update.exe's symbol table.
  if(UPDATER_WIN_ARCH STREQUAL "i686")
    add_custom_command(TARGET TkZip POST_BUILD
      COMMAND ${UPDATER_TRIPLE}-dlltool --kill-at -D TkZip.dll -d ${CMAKE_SOURCE_DIR}/tkzip/TkZip.def
              -l $<TARGET_LINKER_FILE_NAME:TkZip>
      WORKING_DIRECTORY $<TARGET_LINKER_FILE_DIR:TkZip>)
  endif()
endif()

set(WIN32_LIBS user32 gdi32 kernel32 shell32 oleaut32 winmm comctl32 msimg32)
if(EXISTS ${CMAKE_SOURCE_DIR}/app/ProgramWin32.cpp)
  set(RESOURCES ${CMAKE_SOURCE_DIR}/resources/Update.rc)
  add_executable(Update WIN32 ${CMAKE_SOURCE_DIR}/app/ProgramWin32.cpp ${RESOURCES})
  # The window's layout, packed from its source into the build tree, where Update.rc finds it.
  set(LAYOUT_PACKED ${CMAKE_BINARY_DIR}/resources/FrmMain.bin)
  add_custom_command(OUTPUT ${LAYOUT_PACKED}
    COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/pack_layout.py ${CMAKE_SOURCE_DIR}/resources/FrmMain.layout
            ${LAYOUT_PACKED} --depfile ${LAYOUT_PACKED}.d
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/pack_layout.py ${CMAKE_SOURCE_DIR}/resources/FrmMain.layout
    DEPFILE ${LAYOUT_PACKED}.d)
  target_sources(Update PRIVATE ${LAYOUT_PACKED})
  set(MANIFEST_SOURCES ${CMAKE_SOURCE_DIR}/resources/Manifest.rh ${CMAKE_SOURCE_DIR}/resources/Update.manifest)
  set_source_files_properties(${RESOURCES} PROPERTIES OBJECT_DEPENDS "${LAYOUT_PACKED};${MANIFEST_SOURCES}")
  target_include_directories(Update PRIVATE ${VERSION_RESOURCE_DIRS})
  target_compile_options(Update PRIVATE ${WARNINGS})
  target_link_options(Update PRIVATE ${STATIC_RUNTIME} ${PAGE_ALIGNED_SECTIONS} ${DECLARED_WINDOWS_VERSION})
  # The i686 program may use 4 GiB of address space under 64-bit Windows (3 GiB where the system is booted
  # for it) instead of 2: a large log, manifest, archive member or picture then still finds room. The flag
  # counts only on the program, not on the DLLs it loads.
  if(UPDATER_WIN_ARCH STREQUAL "i686")
    target_link_options(Update PRIVATE -Wl,--large-address-aware)
  endif()
  target_link_libraries(Update PRIVATE shell ${WIN32_LIBS})
  if(TARGET TkZip)
    target_link_libraries(Update PRIVATE TkZip)
  endif()
endif()

# Windows-side tests: GoogleTest built for MinGW by scripts/setup.
find_package(GTest REQUIRED CONFIG)
file(GLOB WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*Test.cpp)
file(GLOB WIN_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/support/*.cpp)
add_executable(win_tests ${WIN_TESTS} ${WIN_TEST_SUPPORT})
target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/win ${CMAKE_BINARY_DIR}/resources)
target_compile_options(win_tests PRIVATE ${WARNINGS})
target_link_options(win_tests PRIVATE ${STATIC_RUNTIME})
target_link_libraries(win_tests PRIVATE shell GTest::gtest GTest::gmock GTest::gtest_main ${WIN32_LIBS} version)
if(TARGET TkZip)
  target_link_libraries(win_tests PRIVATE TkZip)
endif()
target_compile_definitions(win_tests PRIVATE FIXTURES_DIR="${CMAKE_SOURCE_DIR}/tests/fixtures"
                                             RESOURCES_DIR="${CMAKE_SOURCE_DIR}/resources")

# The fake exam client that the end-to-end tests start, watch and expect to be relaunched.
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/win/client/FakeClientWin32.cpp)
  add_executable(QeltoExam WIN32 ${CMAKE_SOURCE_DIR}/tests/win/client/FakeClientWin32.cpp
                                 ${CMAKE_SOURCE_DIR}/tests/win/record/RecordLineWin32.cpp
                                 ${CMAKE_SOURCE_DIR}/update/ApplierLockName.cpp
                                 ${CMAKE_SOURCE_DIR}/common/AsciiUpper.cpp)
  target_include_directories(QeltoExam PRIVATE ${CMAKE_SOURCE_DIR}/tests/win ${CMAKE_SOURCE_DIR})
  target_link_options(QeltoExam PRIVATE ${STATIC_RUNTIME})
  target_compile_options(QeltoExam PRIVATE ${WARNINGS})
  add_dependencies(win_tests QeltoExam)
endif()
if(TARGET Update)
  add_dependencies(win_tests Update)
endif()

# ReportVersion: prints the Windows version that the system reports to it; built with Update.exe's manifest
# resource and without any, for the test of what that manifest changes (tests/manifest/windows10.sh).
set(MANIFESTED_RC ${CMAKE_SOURCE_DIR}/tests/win/version/Manifested.rc)
add_executable(ReportVersionManifested ${CMAKE_SOURCE_DIR}/tests/win/version/ReportVersionWin32.cpp ${MANIFESTED_RC})
add_executable(ReportVersionPlain ${CMAKE_SOURCE_DIR}/tests/win/version/ReportVersionWin32.cpp)
target_include_directories(ReportVersionManifested PRIVATE ${CMAKE_SOURCE_DIR}/resources)
set_source_files_properties(${MANIFESTED_RC} PROPERTIES OBJECT_DEPENDS "${MANIFEST_SOURCES}")
foreach(program ReportVersionManifested ReportVersionPlain)
  target_compile_options(${program} PRIVATE ${WARNINGS})
  target_link_options(${program} PRIVATE ${STATIC_RUNTIME})
endforeach()

# Off for a tree whose programs cannot run on this machine (the i686 tree where the kernel runs no 32-bit
# code): its tests are then not listed, since listing them means running win_tests.exe.
option(UPDATER_RUN_WINDOWS_TESTS "List the Windows-side tests, which run under Wine on this machine" ON)
# Their fixture mounts a small file system in the tree (a tmpfs, small-disk/) for the test of a nearly full
# disk, and unmounts it after them.
if(UPDATER_RUN_WINDOWS_TESTS)
  include(GoogleTest)
  gtest_discover_tests(win_tests DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "UPDATER_BIN=${CMAKE_BINARY_DIR}" FIXTURES_REQUIRED small_disk)
  set(SMALL_DISK ${CMAKE_BINARY_DIR}/small-disk)
  add_test(NAME small_disk.mount COMMAND ${CMAKE_SOURCE_DIR}/tests/smalldisk/mount.sh ${SMALL_DISK} 96)
  add_test(NAME small_disk.unmount COMMAND ${CMAKE_SOURCE_DIR}/tests/smalldisk/unmount.sh ${SMALL_DISK})
  # A part of the fault sweep (scripts/sweep runs it whole): the operations whose key hashes to 0 modulo 9,
  # the same ones in every run, in every scenario and every kind.
  add_test(NAME sweep.part COMMAND sweep --every 9)
  set_tests_properties(sweep.part PROPERTIES LABELS sweep TIMEOUT 600 ENVIRONMENT "UPDATER_BIN=${CMAKE_BINARY_DIR}")
  set_tests_properties(small_disk.mount PROPERTIES FIXTURES_SETUP small_disk)
  set_tests_properties(small_disk.unmount PROPERTIES FIXTURES_CLEANUP small_disk)
  # Wine set to Windows 10 tells the program with Update.exe's manifest 10.0, the one without it 6.2.
  add_test(NAME manifest.windows10 COMMAND ${CMAKE_SOURCE_DIR}/tests/manifest/windows10.sh
           ${CMAKE_SOURCE_DIR}/tools/wine-run ${CMAKE_BINARY_DIR}/wineprefix
           $<TARGET_FILE:ReportVersionManifested> $<TARGET_FILE:ReportVersionPlain>)
endif()

# The show recorder hook that the end-to-end tests set in Update.exe (see tests/win/hook).
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/win/hook/ShowRecorderWin32.cpp)
  add_library(ShowRecorder SHARED ${CMAKE_SOURCE_DIR}/tests/win/hook/ShowRecorderWin32.cpp
                                  ${CMAKE_SOURCE_DIR}/tests/win/record/RecordLineWin32.cpp)
  target_include_directories(ShowRecorder PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
  set_target_properties(ShowRecorder PROPERTIES PREFIX "")
  target_compile_options(ShowRecorder PRIVATE ${WARNINGS})
  # The tests find the hook procedure by its plain name, so the i686 build must not decorate it.
  target_link_options(ShowRecorder PRIVATE ${STATIC_RUNTIME} -Wl,--kill-at)
  add_dependencies(win_tests ShowRecorder)
endif()

# The fault injector and the sweep that drives it (tests/win/inject, tests/win/sweep): test-only, never part
# of a release. The injector enters the unmodified Update.exe at its start (tests/win/support/InjectedStart.h).
add_library(FaultInjector SHARED ${CMAKE_SOURCE_DIR}/tests/win/inject/FaultInjectorWin32.cpp
                                 ${CMAKE_SOURCE_DIR}/tests/win/inject/FaultPlan.cpp
                                 ${CMAKE_SOURCE_DIR}/tests/win/inject/FileHooksWin32.cpp
                                 ${CMAKE_SOURCE_DIR}/tests/win/inject/ImportPatchWin32.cpp
                                 ${CMAKE_SOURCE_DIR}/tests/win/inject/OperationLedgerWin32.cpp)
set_target_properties(FaultInjector PROPERTIES PREFIX "")
target_compile_options(FaultInjector PRIVATE ${WARNINGS})
target_link_options(FaultInjector PRIVATE ${STATIC_RUNTIME})
target_link_libraries(FaultInjector PRIVATE advapi32)
file(GLOB SWEEP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/sweep/*.cpp)
add_executable(sweep ${SWEEP_SOURCES} ${WIN_TEST_SUPPORT} ${CMAKE_SOURCE_DIR}/tests/win/inject/FaultPlan.cpp)
target_include_directories(sweep PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
target_compile_options(sweep PRIVATE ${WARNINGS})
target_link_options(sweep PRIVATE ${STATIC_RUNTIME})
target_compile_definitions(sweep PRIVATE FIXTURES_DIR="${CMAKE_SOURCE_DIR}/tests/fixtures")
target_link_libraries(sweep PRIVATE shell ${WIN32_LIBS})
add_dependencies(sweep FaultInjector Update QeltoExam ShowRecorder)
add_dependencies(win_tests sweep)

# Bitness checks of the shipped i686 images, read from their headers on the build machine (label "bitness"):
# they run everywhere, also where 32-bit Wine cannot, and catch what only a 32-bit run would show otherwise.
if(UPDATER_WIN_ARCH STREQUAL "i686")
  set(CHECK_PE python3 ${CMAKE_SOURCE_DIR}/tools/check_pe.py ${UPDATER_TRIPLE}-objdump)
  # TkZip.dll is bound at load time (a missing one stops the start); the libraries that only one path needs
  # (the archive binding's OLE strings, the relaunch's shell, the strip's timer) are loaded at first use.
  # Both shipped images keep their sections page-aligned in the file (PAGE_ALIGNED_SECTIONS); the program is
  # large-address-aware. Both declare the Windows version that the code is compiled for.
  set(WINDOWS_LEVEL_CHECK --windows-version ${WINDOWS_API_LEVEL})
  # Neither shipped image names the test libraries (imports of them are refused above as not system DLLs);
  # the release is these images byte for byte (release.reproducible).
  set(NOT_NAMING_TEST_LIBRARIES --not-naming FaultInjector,ShowRecorder,FAULT_KIND)
  add_test(NAME bitness.Update.exe COMMAND ${CHECK_PE} $<TARGET_FILE:Update> --kind gui
           --imports-only-from TkZip.dll --imports TkZip.dll:ProZip
           --not-imports-from OLEAUT32.dll,SHELL32.dll,WINMM.dll --file-alignment 4096 --large-address-aware
           ${WINDOWS_LEVEL_CHECK} ${NOT_NAMING_TEST_LIBRARIES})
  add_test(NAME bitness.TkZip.dll COMMAND ${CHECK_PE} $<TARGET_FILE:TkZip> --kind dll --exports ProZip
           --file-alignment 4096 ${WINDOWS_LEVEL_CHECK} ${NOT_NAMING_TEST_LIBRARIES})
  add_test(NAME bitness.ShowRecorder.dll COMMAND ${CHECK_PE} $<TARGET_FILE:ShowRecorder> --kind dll
           --exports ShowRecorderHook)
  # The checks see the faults they guard against: the start-up peer, linked plainly, has neither flag and
  # declares the linker's default Windows 4.0.
  add_test(NAME bitness.check_pe.finds_plain_images COMMAND ${CHECK_PE} $<TARGET_FILE:MinimalWindow> --kind gui
           --file-alignment 4096 --large-address-aware ${WINDOWS_LEVEL_CHECK})
  set_tests_properties(bitness.check_pe.finds_plain_images PROPERTIES
    PASS_REGULAR_EXPRESSION "not large-address-aware.*\n.*sections aligned to 512 bytes in the file, not 4096.*\n.*operating-system version 4\\.0, not ${WINDOWS_API_MAJOR}\\.${WINDOWS_API_MINOR}.*\n.*subsystem version 4\\.0, not ${WINDOWS_API_MAJOR}\\.${WINDOWS_API_MINOR}")
  # Update.exe's application manifest, read from the image: the bytes of resources/Update.manifest, declaring
  # the Windows versions and nothing else. The check sees the faults it guards against: no manifest at all,
  # and a manifest with what must stay out of it.
  set(CHECK_MANIFEST python3 ${CMAKE_SOURCE_DIR}/tests/manifest/check_manifest.py)
  add_test(NAME manifest.Update.exe COMMAND ${CHECK_MANIFEST} $<TARGET_FILE:Update>
           ${CMAKE_SOURCE_DIR}/resources/Update.manifest)
  add_test(NAME manifest.check_manifest.finds_no_manifest COMMAND ${CHECK_MANIFEST}
           $<TARGET_FILE:ReportVersionPlain> ${CMAKE_SOURCE_DIR}/resources/Update.manifest)
  add_test(NAME manifest.check_manifest.finds_extras COMMAND ${CHECK_MANIFEST} --xml
           ${CMAKE_SOURCE_DIR}/tests/manifest/faulty.manifest)
  set_tests_properties(manifest.check_manifest.finds_no_manifest PROPERTIES
    PASS_REGULAR_EXPRESSION "no application manifest")
  set_tests_properties(manifest.check_manifest.finds_extras PROPERTIES
    PASS_REGULAR_EXPRESSION "trustInfo.*requestedExecutionLevel.*\n.*dpiAware, activeCodePage.*\n.*dependency.*\n.*does not declare Windows 10 and 11.*\n.*repeated supportedOS")
  add_test(NAME bitness.check_pe.finds_a_named_test_library COMMAND ${CHECK_PE} $<TARGET_FILE:FaultInjector>
           --kind dll ${NOT_NAMING_TEST_LIBRARIES})
  set_tests_properties(bitness.check_pe.finds_a_named_test_library PROPERTIES
    PASS_REGULAR_EXPRESSION "names FaultInjector.*\n.*names FAULT_KIND")
  set_tests_properties(bitness.Update.exe bitness.TkZip.dll bitness.ShowRecorder.dll
                       bitness.check_pe.finds_plain_images bitness.check_pe.finds_a_named_test_library
                       manifest.Update.exe manifest.check_manifest.finds_no_manifest
                       manifest.check_manifest.finds_extras
                       PROPERTIES LABELS bitness)
endif()

# The release (label "release", run on the build machine like the bitness checks): scripts/release run in a
# copy of the checkout in another folder, later, must give byte for byte this tree's images and the same
# archive; signed with a throwaway certificate, the images must verify, and the signed Update.exe must run;
# timestamped by an authority of the test's own on loopback, the signatures must outlive the certificate;
# scripts/check-release must tell changed images, signed or not, without touching the folder it checks; and
# a checkout with changes must be refused.
if(UPDATER_WIN_ARCH STREQUAL "i686")
  set(RELEASE_COPY ${CMAKE_BINARY_DIR}/release-check/checkout)
  add_test(NAME release.build COMMAND ${CMAKE_SOURCE_DIR}/tests/release/release_of_copy.sh ${CMAKE_SOURCE_DIR}
           ${RELEASE_COPY})
  add_test(NAME release.reproducible COMMAND ${CMAKE_SOURCE_DIR}/tests/release/reproducible.sh ${CMAKE_SOURCE_DIR}
           ${RELEASE_COPY} $<TARGET_FILE_DIR:Update>)
  set(RELEASE_TESTS_ON_THE_COPY signed timestamped check uncommitted)
  foreach(name ${RELEASE_TESTS_ON_THE_COPY})
    add_test(NAME release.${name} COMMAND ${CMAKE_SOURCE_DIR}/tests/release/${name}.sh ${CMAKE_SOURCE_DIR}
             ${RELEASE_COPY})
  endforeach()
  set_tests_properties(release.build PROPERTIES FIXTURES_SETUP release_copy TIMEOUT 1800)
  set_tests_properties(release.reproducible release.signed release.timestamped release.check release.uncommitted
                       PROPERTIES FIXTURES_REQUIRED release_copy)
  # Each rewrites the copy's dist/, which the one before it reads; check-release builds its own tree.
  set_tests_properties(release.signed PROPERTIES DEPENDS release.reproducible
                       ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
  set_tests_properties(release.timestamped PROPERTIES DEPENDS release.signed)
  set_tests_properties(release.check PROPERTIES DEPENDS release.timestamped TIMEOUT 1800)
  set_tests_properties(release.uncommitted PROPERTIES DEPENDS release.check)
  set_tests_properties(release.build release.reproducible release.signed release.timestamped release.check
                       release.uncommitted PROPERTIES LABELS release)
endif()

# update_bench.exe: times one operation of the update run per invocation for scripts/bench.
add_executable(update_bench ${CMAKE_SOURCE_DIR}/bench/win/UpdateBenchWin32.cpp)
target_compile_options(update_bench PRIVATE ${WARNINGS})
target_link_options(update_bench PRIVATE ${STATIC_RUNTIME})
target_link_libraries(update_bench PRIVATE shell TkZip ${WIN32_LIBS})

# MinimalWindow.exe: the start-up peer of Update.exe for scripts/bench.
add_executable(MinimalWindow WIN32 ${CMAKE_SOURCE_DIR}/bench/win/MinimalWindowWin32.cpp)
target_compile_options(MinimalWindow PRIVATE ${WARNINGS})
target_link_options(MinimalWindow PRIVATE ${STATIC_RUNTIME})
