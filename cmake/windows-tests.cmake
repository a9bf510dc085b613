# The Windows tests, run by ctest under wine64 (the toolchain's emulator).

# The stand-in lies beside the test program and the program under test, where
# CreateProcessA looks first.
add_executable(ipconfig-standin tests/standin/ipconfig.cpp)
set_target_properties(ipconfig-standin PROPERTIES OUTPUT_NAME ipconfig)
target_link_options(ipconfig-standin PRIVATE -static)

include(cmake/googletest.cmake)
include(cmake/planted-dll.cmake)

# The windows are created in the test process from the program's own resources.
add_executable(windows-tests
  tests/runner/run_captured_test.cpp
  tests/app/program_run_test.cpp
  tests/ipconfig/ipconfig_test.cpp
  ${RESOURCE_SCRIPT}
)
target_compile_definitions(windows-tests PRIVATE SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_link_libraries(windows-tests PRIVATE app ipconfig-tool GTest::gtest_main)
target_link_options(windows-tests PRIVATE -static -Wl,--stack,1048576)
add_dependencies(windows-tests ipsettings ipconfig-standin classic-ipconfig planted icon)
# Each test alone, and then all of them together in one process, in shuffled order; but
# for the test of a system without IP Helper, whose process runs with it taken away.
gtest_discover_tests(windows-tests TEST_FILTER -SystemIpconfig.* DISCOVERY_MODE PRE_TEST
  DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
add_test(NAME windows-tests.all-shuffled
  COMMAND windows-tests --gtest_shuffle --gtest_filter=-SystemIpconfig.*)
set_tests_properties(windows-tests.all-shuffled PROPERTIES TIMEOUT 300
  ENVIRONMENT WINE_RUN_SECONDS=280)
add_test(NAME windows-tests.system-ipconfig COMMAND windows-tests --gtest_filter=SystemIpconfig.*)
set_tests_properties(windows-tests.system-ipconfig PROPERTIES TIMEOUT 120
  ENVIRONMENT "WINEDLLOVERRIDES=mscoree,mshtml=\;ipconfig.exe=n")
# Lease times where the clocks change, north and south; a Russian system (ANSI 1251, OEM
# 866) for a Japanese user, whose texts the ANSI code page lacks.
add_test(NAME windows-tests.lease-times-berlin COMMAND windows-tests --gtest_filter=SystemText.*)
set_tests_properties(windows-tests.lease-times-berlin PROPERTIES ENVIRONMENT "TZ=Europe/Berlin")
add_test(NAME windows-tests.russian-system-japanese-user COMMAND windows-tests
  --gtest_filter=SystemText.*:MatchesWildcard.*:ClassicIpconfig.WritesToAConsole*)
set_tests_properties(windows-tests.russian-system-japanese-user PROPERTIES ENVIRONMENT
  "TZ=Australia/Sydney;LC_ALL=;LANG=ru_RU.UTF-8;LC_MESSAGES=ja_JP.UTF-8")

# Benchmarks print figures; they are run by bench/run.sh, not by ctest.
foreach(bench runner startup process-start stack-depth)
  string(REPLACE "-" "_" source ${bench})
  add_executable(${bench}-bench bench/${source}_bench.cpp)
  target_include_directories(${bench}-bench PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${bench}-bench PRIVATE runner)
  target_link_options(${bench}-bench PRIVATE -static)
  add_dependencies(${bench}-bench ipsettings startup-baseline ipconfig-standin)
endforeach()
# What start-up costs without the program's own work: the same two windows from the
# same resources, no command run.
add_executable(startup-baseline WIN32 bench/startup_baseline.cpp ${RESOURCE_SCRIPT})
target_include_directories(startup-baseline PRIVATE ${PROJECT_SOURCE_DIR})
target_link_options(startup-baseline PRIVATE -static)
add_dependencies(startup-baseline icon)
