# Installs the build into a scratch prefix, builds the consumer project against it with
# find_package(tlosses) and runs it; then runs the installed tlhost, which must find the installed
# driver by itself.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGV}\n${out}\n${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer -DCMAKE_PREFIX_PATH=${prefix}
    "-DCMAKE_C_FLAGS=${C_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/tlosses_consumer)
if(NOT run_output MATCHES "driver ${prefix}/.*/libtlosses.so: 10 exports, result 0 reads 15 bytes")
  message(FATAL_ERROR "unexpected consumer output: ${run_output}")
endif()

# Nothing of the build tree beside it: the driver comes from the installed layout.
run(${prefix}/bin/tlhost decode 0)
if(NOT run_output STREQUAL "Успешный расчёт\n")
  message(FATAL_ERROR "installed tlhost decode 0 printed: ${run_output}")
endif()
run(${prefix}/bin/tlhost --version)
if(NOT run_output MATCHES "^tlhost [0-9]+\\.[0-9]+\\.[0-9]+\n$")
  message(FATAL_ERROR "installed tlhost --version printed: ${run_output}")
endif()
