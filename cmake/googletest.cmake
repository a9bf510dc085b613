# GoogleTest from Debian's sources, built with the project's own compiler (natively,
# or by the mingw-w64 posix-thread cross compiler for the Windows tests).
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)
# Not our code: its warnings do not stop the build.
set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
