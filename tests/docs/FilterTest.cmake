# The reference reads each comment as the documentation of one declaration
# only: a declaration that follows another without a comment of its own
# gets none (and Doxygen then fails on it), so a comment cannot slide onto
# the next declaration unseen.
# cmake -DFILTER=doxygen-filter.awk -DWORK=folder -P FilterTest.cmake
set(header "class C {\npublic:\n    // the first\n    int First();\n    int Second();\n    int Third(); // the third\n};\n")
set(expected "class C {\npublic:\n    /// the first\n    int First();\n    int Second();\n    int Third();  ///<  the third\n};\n")
file(WRITE ${WORK}/filter-case.h "${header}")
execute_process(COMMAND awk -f ${FILTER} ${WORK}/filter-case.h OUTPUT_VARIABLE filtered RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT filtered STREQUAL expected)
  message(FATAL_ERROR "the filter gave\n${filtered}\ninstead of\n${expected}")
endif()
