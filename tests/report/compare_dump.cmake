# Compares what report-dump prints for one stored report with the dump beside it.
execute_process(COMMAND ${DUMP} ${REPORT} OUTPUT_VARIABLE actual RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT status EQUAL 0 OR NOT actual STREQUAL expected)
  message(FATAL_ERROR "report-dump ${REPORT} printed:\n${actual}")
endif()
