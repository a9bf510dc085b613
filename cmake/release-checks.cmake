# Checks on the built release program and on the download made from it, run natively by
# ctest; the download is built first, as a fixture, so that a fresh build tests too.
include(cmake/package.cmake)
add_test(NAME build-download COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target package)
set_tests_properties(build-download PROPERTIES FIXTURES_SETUP download)
add_test(NAME release-program
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/release/check_release.py
          $<TARGET_FILE:ipsettings> ${CMAKE_BINARY_DIR}/${PROJECT_NAME}-${PROJECT_VERSION}-win32.zip)
set_tests_properties(release-program PROPERTIES FIXTURES_REQUIRED download)

# For the tests of the 32-bit files that ship (scripts/win32-program-test.sh).
include(cmake/planted-dll.cmake)
