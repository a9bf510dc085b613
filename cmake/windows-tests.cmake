# The Windows tests, run by ctest under wine64 (the toolchain's emulator).

# The stand-in lies beside the test programs, where CreateProcessA looks first.
add_executable(ipconfig-standin tests/standin/ipconfig.cpp)
set_target_properties(ipconfig-standin PROPERTIES OUTPUT_NAME ipconfig)
target_link_options(ipconfig-standin PRIVATE -static)

include(cmake/googletest.cmake)

add_executable(windows-tests
  tests/runner/run_captured_test.cpp
  tests/report/config_read_test.cpp
  tests/tools/ipconfig_tool_test.cpp
)
target_compile_definitions(windows-tests PRIVATE SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_link_libraries(windows-tests PRIVATE runner iphlpapi GTest::gtest_main)
target_link_options(windows-tests PRIVATE -static -Wl,--stack,1048576)
add_dependencies(windows-tests ipconfig-standin classic-ipconfig)
gtest_discover_tests(windows-tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 300)

# The windows, created in the test process from the program's own resources.
add_executable(app-tests
  tests/app/main_window_test.cpp
  tests/console/console_window_test.cpp
  ${RESOURCE_SCRIPT}
)
target_compile_definitions(app-tests PRIVATE SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_link_libraries(app-tests PRIVATE app GTest::gtest_main)
target_link_options(app-tests PRIVATE -static -Wl,--stack,1048576)
add_dependencies(app-tests ipconfig-standin icon)
gtest_discover_tests(app-tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 300)

# Benchmarks print figures; they are run by bench/run.sh, not by ctest.
add_executable(runner-bench bench/runner_bench.cpp)
target_link_libraries(runner-bench PRIVATE runner)
target_link_options(runner-bench PRIVATE -static)
add_dependencies(runner-bench ipconfig-standin)

# End to end: the real program, driven from another process.
add_executable(e2e-driver tests/e2e/driver.cpp)
target_compile_definitions(e2e-driver PRIVATE SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_include_directories(e2e-driver PRIVATE ${PROJECT_SOURCE_DIR})
target_link_options(e2e-driver PRIVATE -static)
add_dependencies(e2e-driver ipsettings ipconfig-standin)
add_test(NAME end-to-end COMMAND e2e-driver)
set_tests_properties(end-to-end PROPERTIES TIMEOUT 300)

# Arranges the program's windows for scripts/screenshot.sh.
add_executable(pose tests/e2e/pose.cpp)
target_include_directories(pose PRIVATE ${PROJECT_SOURCE_DIR})
target_link_options(pose PRIVATE -static)
add_executable(startup-bench bench/startup_bench.cpp)
target_include_directories(startup-bench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_options(startup-bench PRIVATE -static)
add_dependencies(startup-bench ipsettings ipconfig-standin)
