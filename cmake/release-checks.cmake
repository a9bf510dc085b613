# Checks on the built release program, run natively by ctest.
add_test(NAME release-program
  COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/release/check_release.py
          $<TARGET_FILE:ipsettings>)
