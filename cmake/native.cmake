# Linux: the report tool, the stored reports it dumps, and (with clang) the fuzzers.

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

# The scanner alone, and the round trip from the bundled ipconfig's writer to it.
if(BUILD_FUZZER)
  set(fuzz_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
  foreach(fuzzer scan-report round-trip)
    string(REPLACE "-" "_" source ${fuzzer})
    add_executable(${fuzzer}-fuzzer fuzz/${source}_fuzzer.cpp)
    target_link_libraries(${fuzzer}-fuzzer PRIVATE report classic-report)
    target_compile_options(${fuzzer}-fuzzer PRIVATE ${fuzz_flags})
    target_link_options(${fuzzer}-fuzzer PRIVATE ${fuzz_flags})
  endforeach()
  foreach(library report classic-report)
    target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  endforeach()
  target_link_options(report-dump PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
endif()
