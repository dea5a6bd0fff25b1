# cmake -DPROGRAM=... -DARGS="a;b" -DEXPECT=N [-DEMULATOR=...]
#       [-DOUTPUT=regex] [-DNO_OUTPUT=regex] -P ExpectExit.cmake
# Runs the program (through the emulator when cross-compiled) and fails
# unless it ends with exit code EXPECT and its output matches OUTPUT and
# not NO_OUTPUT.
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGS}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL EXPECT)
  message(FATAL_ERROR "${PROGRAM} ${ARGS}: exit code ${rc}, expected ${EXPECT}\n${out}${err}")
endif()
if(DEFINED OUTPUT AND NOT out MATCHES "${OUTPUT}")
  message(FATAL_ERROR "${PROGRAM} ${ARGS}: output does not match ${OUTPUT}:\n${out}")
endif()
if(DEFINED NO_OUTPUT AND out MATCHES "${NO_OUTPUT}")
  message(FATAL_ERROR "${PROGRAM} ${ARGS}: output matches ${NO_OUTPUT}:\n${out}")
endif()
message(STATUS "${PROGRAM} ${ARGS}: exit code ${rc}; output: ${out}")
