# Windows: the program and its resources, the bundled classic-form ipconfig, the window
# arranger for screenshots, and then the release checks (i686) or the Windows tests (x86_64).

# The product's code is built without exceptions and run-time type information; the
# release build (MinSizeRel) small and stripped. (-fdata-sections would move the
# zero-filled buffers from .bss into .data on this toolchain.)
set(PRODUCT_COMPILE_OPTIONS -fno-exceptions -fno-rtti
  "$<$<CONFIG:MinSizeRel>:-ffunction-sections;-fno-asynchronous-unwind-tables>")
set(PRODUCT_LINK_OPTIONS
  -static-libgcc -static-libstdc++
  -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
  -Wl,--stack,1048576
  "$<$<CONFIG:MinSizeRel>:-s;-Wl,--gc-sections>")
target_compile_options(report PRIVATE ${PRODUCT_COMPILE_OPTIONS})
target_compile_options(classic-report PRIVATE ${PRODUCT_COMPILE_OPTIONS})

# Running commands and reading the live configuration.
add_library(runner STATIC
  runner/run_captured.cpp
  report/config_read.cpp
)
target_link_libraries(runner PUBLIC report)
target_compile_options(runner PRIVATE ${PRODUCT_COMPILE_OPTIONS})

# The windows, and the text help they use.
add_library(app STATIC
  app/startup.cpp
  app/main_window.cpp
  console/console_window.cpp
  console/first_line.cpp
)
target_link_libraries(app PUBLIC runner)
target_compile_options(app PRIVATE ${PRODUCT_COMPILE_OPTIONS})

# The resources: dialogs, menu, and the icon drawn from its text pixel map.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(ICON_FILE ${CMAKE_BINARY_DIR}/icon.ico)
add_custom_command(OUTPUT ${ICON_FILE}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/make-icon/make_icon.py
          ${PROJECT_SOURCE_DIR}/resources/icon.txt ${ICON_FILE}
  DEPENDS ${PROJECT_SOURCE_DIR}/resources/icon.txt ${PROJECT_SOURCE_DIR}/tools/make-icon/make_icon.py)
add_custom_target(icon DEPENDS ${ICON_FILE})
set(RESOURCE_SCRIPT ${PROJECT_SOURCE_DIR}/resources/ipsettings.rc)
set_source_files_properties(${RESOURCE_SCRIPT} PROPERTIES OBJECT_DEPENDS ${ICON_FILE})
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${PROJECT_SOURCE_DIR} -I${CMAKE_BINARY_DIR}")

# The program.
add_executable(ipsettings WIN32 app/main.cpp ${RESOURCE_SCRIPT})
target_link_libraries(ipsettings PRIVATE app)
target_compile_options(ipsettings PRIVATE ${PRODUCT_COMPILE_OPTIONS})
target_link_options(ipsettings PRIVATE ${PRODUCT_LINK_OPTIONS})
add_dependencies(ipsettings icon)

# A classic-form ipconfig for systems whose own prints another form, built as the
# program is; it lies in a folder of its own, apart from the tests' stand-in of the
# same name. Its parts form a library that the tests also link.
add_library(ipconfig-tool STATIC
  ipconfig/ansi_text.cpp
  ipconfig/lease_change.cpp
  ipconfig/platform_config.cpp
  ipconfig/platform_functions.cpp
  ipconfig/report_output.cpp
  ipconfig/system_ipconfig.cpp
  ipconfig/system_message.cpp
  ipconfig/typed_command.cpp
  ipconfig/wildcard.cpp
)
target_link_libraries(ipconfig-tool PUBLIC classic-report)
add_executable(classic-ipconfig ipconfig/main.cpp)
target_link_libraries(classic-ipconfig PRIVATE ipconfig-tool)
foreach(target ipconfig-tool classic-ipconfig)
  target_compile_options(${target} PRIVATE ${PRODUCT_COMPILE_OPTIONS})
endforeach()
target_link_options(classic-ipconfig PRIVATE ${PRODUCT_LINK_OPTIONS})
set_target_properties(classic-ipconfig PROPERTIES OUTPUT_NAME ipconfig
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/ipconfig)

# Arranges the program's windows for scripts/screenshot.sh and scripts/run.sh.
add_executable(pose tools/screenshot-pose/pose.cpp)
target_include_directories(pose PRIVATE ${PROJECT_SOURCE_DIR})
target_link_options(pose PRIVATE -static)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  include(cmake/release-checks.cmake)
endif()
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  include(cmake/windows-tests.cmake)
endif()
