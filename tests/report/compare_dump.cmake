# Runs report-dump on one stored report and compares what it prints with the expected
# dump beside it. With no EXPECTED, the report must be unreadable: then report-dump
# prints nothing, names the file in one line on stderr and ends with exit code 2.
execute_process(COMMAND ${DUMP} ${REPORT} OUTPUT_VARIABLE actual ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT DEFINED EXPECTED)
  string(FIND "${err}" "${REPORT}\n" at)
  if(NOT status EQUAL 2 OR NOT actual STREQUAL "" OR at EQUAL -1)
    message(FATAL_ERROR "expected exit code 2 and one line naming the file, got ${status}: ${actual}${err}")
  endif()
elseif(NOT status EQUAL 0)
  message(FATAL_ERROR "report-dump exited with ${status} on ${REPORT}")
else()
  file(READ ${EXPECTED} expected)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "dump of ${REPORT} differs from ${EXPECTED}; it printed:\n${actual}")
  endif()
endif()
