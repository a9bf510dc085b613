# Windows: the program, the stand-in ipconfig for the tests, and the Windows tests.

# The product's code is built without exceptions and run-time type information.
set(PRODUCT_COMPILE_OPTIONS -fno-exceptions -fno-rtti)
set(PRODUCT_LINK_OPTIONS
  -static-libgcc -static-libstdc++
  -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
  -Wl,--stack,1048576)
target_compile_options(report PRIVATE ${PRODUCT_COMPILE_OPTIONS})

# Running commands and reading the live configuration.
add_library(runner STATIC
  runner/run_captured.cpp
  report/config_read.cpp
)
target_link_libraries(runner PUBLIC report)
target_compile_options(runner PRIVATE ${PRODUCT_COMPILE_OPTIONS})

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  include(cmake/windows-tests.cmake)
endif()
