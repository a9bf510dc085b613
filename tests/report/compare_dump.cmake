# Compares what report-dump prints for one stored report with the dump beside it; a
# difference shows as a unified diff.
get_filename_component(name ${EXPECTED} NAME)
execute_process(COMMAND ${DUMP} ${REPORT} OUTPUT_FILE ${name}.actual RESULT_VARIABLE status)
execute_process(COMMAND diff -u ${EXPECTED} ${name}.actual RESULT_VARIABLE differs)
if(NOT status EQUAL 0 OR NOT differs EQUAL 0)
  message(FATAL_ERROR "report-dump ${REPORT} printed what the diff above shows")
endif()
