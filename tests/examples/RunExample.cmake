# Runs an example program that writes a document, as a host runs it, and
# holds the document to what an author's would be held to: kvnode check
# --strict finds nothing, kvnode fmt --check finds it laid out already, and
# what the program printed after loading it back holds the lines expected.
# cmake -DEXAMPLE=exe -DKVNODE=exe -DOUT=file.xml -DEXPECTED=file.txt -P RunExample.cmake
foreach(step "${EXAMPLE};${OUT}" "${KVNODE};check;--strict;${OUT}" "${KVNODE};fmt;--check;${OUT}")
  execute_process(COMMAND ${step} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${step} gave ${status}:\n${out}${err}")
  endif()
  if(step MATCHES "^${EXAMPLE};")
    set(printed "${out}")
  endif()
endforeach()
file(READ ${EXPECTED} expected)
if(NOT printed STREQUAL expected)
  message(FATAL_ERROR "the example printed\n${printed}\ninstead of\n${expected}")
endif()
