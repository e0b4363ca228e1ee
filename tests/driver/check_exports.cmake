# Fails unless the library at LIBRARY exports exactly the ten entry points of the driver.
set(expected
  DeInitDriver GetDBAccessNecessity GetFunctionName GetStartActionDecodeResult GetStopActionDecodeResult
  InitDriver ShowSpecificDataDialog ShowSpecificDataDialogEx StartAction StopAction)
execute_process(COMMAND nm -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[0-9a-fA-F]+ [A-Za-z] [^\n]+" entries "${listing}")
set(found)
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^[0-9a-fA-F]+ [A-Za-z] " "" name "${entry}")
  list(APPEND found ${name})
endforeach()
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "exported: ${found}\nexpected: ${expected}")
endif()
message(STATUS "exactly the ten entry points are exported")
