# Compares what report-dump prints for one stored report with the dump beside it.
# Without EXPECTED the report cannot be read: then nothing is printed, one line on
# stderr names the file, and the exit code is 2.
execute_process(COMMAND ${DUMP} ${REPORT} OUTPUT_VARIABLE actual ERROR_VARIABLE err RESULT_VARIABLE status)
set(expected "")
set(code 2)
if(DEFINED EXPECTED)
  file(READ ${EXPECTED} expected)
  set(err "${REPORT}\n")
  set(code 0)
endif()
string(FIND "${err}" "${REPORT}\n" named)
if(NOT status EQUAL code OR NOT actual STREQUAL expected OR named EQUAL -1)
  message(FATAL_ERROR "report-dump ${REPORT} printed:\n${actual}${err}")
endif()
