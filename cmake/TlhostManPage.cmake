# cmake -DTLHOST=... -DHELP2MAN=... -DOUTPUT_DIR=... -P TlhostManPage.cmake
# Writes tlhost.1 with help2man: the main help and version, and a COMMANDS section with the help of
# every command, listed by tlhost itself.
execute_process(COMMAND ${TLHOST} completion commands OUTPUT_VARIABLE commands RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "tlhost completion commands failed (${status})")
endif()
string(REPLACE "\n" ";" commands "${commands}")
set(include_text "[COMMANDS]\n")
foreach(command IN LISTS commands)
  if(command STREQUAL "")
    continue()
  endif()
  string(REPLACE " " ";" words "${command}")
  execute_process(COMMAND ${TLHOST} ${words} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "tlhost ${command} --help failed (${status})")
  endif()
  # Backslashes and leading dots and quotes are roff's own: escape them.
  string(REPLACE "\\" "\\e" help "${help}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
  string(APPEND include_text ".SS \"tlhost ${command}\"\n.nf\n${help}.fi\n")
endforeach()
file(WRITE ${OUTPUT_DIR}/tlhost.h2m "${include_text}")
execute_process(
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section 1
          --name "command-line host of the electric-energy loss calculation driver"
          --include ${OUTPUT_DIR}/tlhost.h2m --output ${OUTPUT_DIR}/tlhost.1 ${TLHOST}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed (${status})")
endif()
