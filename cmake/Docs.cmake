# The API reference: Doxygen over the installed headers, whose comments are
# the documentation (cmake/doxygen-filter.awk reads them so), with
# docs/api.md as its main page and the examples it shows. Any warning fails
# it: a public declaration without a comment of its own, a comment on
# nothing. Built with the libraries when Doxygen is installed, installed
# under share/doc with the development files.
if(NOT KV_BUILD_DOCS)
  return()
endif()
find_package(Doxygen QUIET)
if(NOT DOXYGEN_FOUND)
  message(STATUS "No Doxygen: the API reference is neither built nor installed")
  return()
endif()
set(DOXYGEN_PROJECT_NAME KvNodeDefine)
set(DOXYGEN_PROJECT_NUMBER ${PROJECT_VERSION})
set(DOXYGEN_PROJECT_BRIEF "Parametric steel connection node descriptors, persisted as XML")
set(DOXYGEN_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/docs)
set(DOXYGEN_GENERATE_LATEX NO)
set(DOXYGEN_QUIET YES)
set(DOXYGEN_HAVE_DOT NO) # the same reference whatever else is installed
set(DOXYGEN_EXTRACT_ALL NO)
set(DOXYGEN_WARN_IF_UNDOCUMENTED YES)
set(DOXYGEN_WARN_AS_ERROR FAIL_ON_WARNINGS)
set(DOXYGEN_JAVADOC_AUTOBRIEF YES)
set(DOXYGEN_FILTER_SOURCE_FILES NO)
set(DOXYGEN_FILE_PATTERNS *.h *.md)
set(DOXYGEN_FILTER_PATTERNS "*.h=awk -f ${PROJECT_SOURCE_DIR}/cmake/doxygen-filter.awk")
set(DOXYGEN_USE_MDFILE_AS_MAINPAGE ${PROJECT_SOURCE_DIR}/docs/api.md)
set(DOXYGEN_EXAMPLE_PATH ${PROJECT_SOURCE_DIR}/examples)
set(DOXYGEN_FULL_PATH_NAMES YES)
set(DOXYGEN_STRIP_FROM_PATH ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/host)
set(DOXYGEN_STRIP_FROM_INC_PATH ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/host)
set(DOXYGEN_MACRO_EXPANSION YES)
set(DOXYGEN_EXPAND_ONLY_PREDEF YES)
set(DOXYGEN_PREDEFINED KVNODE_API= KVHOST_API= "KV_DECLARE_CLASS(c)=" KVNODE_SDK_MEMBERS_BEGIN= KVNODE_SDK_MEMBERS_END=)
doxygen_add_docs(docs ${kv_public_headers} ${kv_host_headers} ${PROJECT_SOURCE_DIR}/docs/api.md ALL
  COMMENT "Writing the API reference into ${CMAKE_CURRENT_BINARY_DIR}/docs/html")
install(DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/docs/html/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/libkvnodedefine-dev/reference COMPONENT dev)
