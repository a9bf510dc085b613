# Checks on the built release program and on the download made from it (the test
# command builds the package first), run natively by ctest.
include(cmake/package.cmake)
add_test(NAME release-program
  COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/release/check_release.py $<TARGET_FILE:ipsettings>
          ${CMAKE_BINARY_DIR}/${PROJECT_NAME}-${PROJECT_VERSION}-win32.zip ${PROJECT_SOURCE_DIR}/README.md)

# For the tests of the 32-bit files that ship (scripts/win32-program-test.sh).
include(cmake/planted-dll.cmake)
