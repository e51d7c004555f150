# Runs one replay headless and checks the exit code and, when given, a text
# the program must print. Used by ctest:
#   cmake -DPROGRAM=... -DREPLAY=... -DEXPECT_CODE=0 [-DEXPECT_TEXT=...] -P RunReplay.cmake
execute_process(COMMAND ${PROGRAM} --headless --replay ${REPLAY}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT code EQUAL EXPECT_CODE)
  message(FATAL_ERROR "${REPLAY}: exit code ${code}, expected ${EXPECT_CODE}\n${out}\n${err}")
endif()
if(DEFINED EXPECT_TEXT AND NOT "${out}${err}" MATCHES "${EXPECT_TEXT}")
  message(FATAL_ERROR "${REPLAY}: the output lacks \"${EXPECT_TEXT}\"\n${out}\n${err}")
endif()
