# Linux: the report tool, the stored reports it dumps, and (with clang) the fuzzer.

add_executable(report-dump tools/report-dump/report_dump.cpp)
target_link_libraries(report-dump PRIVATE report)

# Each stored report is dumped and compared with the snapshot written beside it.
file(GLOB report_fixtures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/report/fixtures/*.txt)
foreach(fixture IN LISTS report_fixtures)
  get_filename_component(fixture_name ${fixture} NAME_WE)
  add_test(NAME report-dump.${fixture_name}
    COMMAND ${CMAKE_COMMAND} -DDUMP=$<TARGET_FILE:report-dump> -DREPORT=${fixture}
            -DEXPECTED=${PROJECT_SOURCE_DIR}/tests/report/fixtures/${fixture_name}.expected
            -P ${PROJECT_SOURCE_DIR}/tests/report/compare_dump.cmake)
endforeach()

# The scanner on any bytes, and the round trip from the bundled ipconfig's writer to it.
if(BUILD_FUZZER)
  set(fuzz_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
  add_executable(report-fuzzer fuzz/report_fuzzer.cpp)
  target_link_libraries(report-fuzzer PRIVATE report classic-report)
  target_compile_options(report-fuzzer PRIVATE ${fuzz_flags})
  target_link_options(report-fuzzer PRIVATE ${fuzz_flags})
  foreach(library report classic-report)
    target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  endforeach()
  target_link_options(report-dump PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
endif()
