# Installs the libraries, headers, CMake package, pkg-config file and the
# tool with its manual page and completion, and packages them with CPack.
# Components: runtime (the libraries), dev (what a consumer builds against),
# tool (kvnode).

# the tool finds the libraries from wherever the prefix was unpacked
file(RELATIVE_PATH kv_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(kvnode PROPERTIES INSTALL_RPATH "$ORIGIN/${kv_bin_to_lib}")

install(TARGETS kvhost KvNodeDefine KvNodeDefineLoaded EXPORT KvNodeDefineTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
if(MINGW)
  install(FILES ${KV_MINGW_RUNTIME_DLLS} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
endif()
# The installed headers: the descriptors' (KvNodeDefine/*.h; their inside is
# in the subsystem folders) and the host stand-ins' (host/*/*.h; the XML
# object library's inside is in the subfolders of host/xmlobj). The
# reference is written from the same list.
file(GLOB kv_public_headers CONFIGURE_DEPENDS KvNodeDefine/*.h)
install(FILES ${kv_public_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/KvNodeDefine COMPONENT dev)
set(kv_host_headers)
foreach(part appframe arx xmlobj)
  file(GLOB headers CONFIGURE_DEPENDS host/${part}/*.h)
  install(FILES ${headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kvhost/${part} COMPONENT dev)
  list(APPEND kv_host_headers ${headers})
endforeach()

# ---- the CMake package and the pkg-config file --------------------------------
set(kv_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/KvNodeDefine)
install(EXPORT KvNodeDefineTargets NAMESPACE KvNodeDefine:: DESTINATION ${kv_cmake_dir} COMPONENT dev)
include(CMakePackageConfigHelpers)
configure_package_config_file(cmake/KvNodeDefineConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/KvNodeDefineConfig.cmake
  INSTALL_DESTINATION ${kv_cmake_dir})
# a host built against 1.x runs with any later 1.y: see docs/design.md
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/KvNodeDefineConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/KvNodeDefineConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/KvNodeDefineConfigVersion.cmake cmake/KvNodeDefineLinking.cmake
  DESTINATION ${kv_cmake_dir} COMPONENT dev)

# the .pc file finds its prefix from where it lies, like the CMake package
set(kv_pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH kv_pc_to_prefix ${CMAKE_INSTALL_PREFIX}/${kv_pc_dir} ${CMAKE_INSTALL_PREFIX})
# KvNodeDefine linked as cmake/KvNodeDefineLinking.cmake links it, in one
# fragment: pkg-config drops a flag that another package repeats
if(WIN32)
  set(kv_pc_link_library "-Wl,--undefined=KvNodeDefineVersion -lKvNodeDefine")
else()
  set(kv_pc_link_library "-Wl,--push-state,--no-as-needed,-lKvNodeDefine,--pop-state")
endif()
configure_file(cmake/KvNodeDefine.pc.in ${CMAKE_CURRENT_BINARY_DIR}/KvNodeDefine.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/KvNodeDefine.pc DESTINATION ${kv_pc_dir} COMPONENT dev)

# ---- the tool, its manual page and completion ---------------------------------
install(TARGETS kvnode RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tool)
# made by running the tool, so only where it runs on the build machine
if(NOT CMAKE_CROSSCOMPILING)
  add_custom_command(OUTPUT kvnode.1 kvnode.1.gz
    COMMAND sh ${PROJECT_SOURCE_DIR}/tools/kvnode/cli/manpage.sh $<TARGET_FILE:kvnode> kvnode.1
    COMMAND gzip -9nkf kvnode.1
    DEPENDS kvnode ${PROJECT_SOURCE_DIR}/tools/kvnode/cli/manpage.sh
    COMMENT "Writing the manual page kvnode(1) from kvnode --help")
  add_custom_target(manpage ALL DEPENDS kvnode.1 kvnode.1.gz)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kvnode.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tool)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kvnode.xsd DESTINATION ${CMAKE_INSTALL_DATADIR}/kvnode COMPONENT tool)
  install(FILES tools/kvnode/cli/kvnode.bash RENAME kvnode
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT tool)
endif()

# ---- the license and the changes ------------------------------------------------
set(kv_contact "KvNodeDefine maintainers <maintainers@kvnodedefine.example>")
if(WIN32)
  install(FILES LICENSE CHANGELOG DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/KvNodeDefine COMPONENT runtime)
else()
  # as Debian wants them in each package: a machine-readable copyright file
  # made from LICENSE, the changelog compressed (kv_debian_package installs them)
  file(READ LICENSE kv_license)
  string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" kv_copyright "${kv_license}")
  set(kv_copyright ${CMAKE_MATCH_1})
  string(REGEX REPLACE "^.*\n\n(Permission)" "\\1" kv_license "${kv_license}")
  string(STRIP "${kv_license}" kv_license)
  string(REPLACE "\n\n" "\n.\n" kv_license "${kv_license}")
  string(REPLACE "\n" "\n " kv_license " ${kv_license}")
  configure_file(cmake/copyright.in copyright @ONLY)
  configure_file(CHANGELOG changelog COPYONLY)
  add_custom_command(OUTPUT changelog.gz COMMAND gzip -9nkf changelog
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog COMMENT "Compressing the changelog")
  add_custom_target(debian_changelog ALL DEPENDS changelog.gz)
endif()

# ---- packages: a .deb per component, and one .tar.gz of everything -----------
set(CPACK_PACKAGE_NAME KvNodeDefine)
set(CPACK_PACKAGE_VENDOR KvNodeDefine)
set(CPACK_PACKAGE_CONTACT ${kv_contact})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# the tool's own libraries are in the runtime package, not yet installed
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_CURRENT_BINARY_DIR})
# a shlibs file, so that dpkg-shlibdeps gives a host package built against
# 1.x a dependency on this version or later (docs/design.md, Compatibility)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

# kv_debian_package(COMPONENT [LIBRARIES] NAME n SECTION s [DEPENDS d...] DESCRIPTION text):
# the Debian package of an install component, its description a summary line
# then paragraphs (lines under 80 characters), with its copyright and
# changelog; LIBRARIES for one that holds shared libraries, for which
# ldconfig runs through a trigger.
set(CPACK_COMPONENTS_ALL)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/triggers "activate-noawait ldconfig\n")
function(kv_debian_package component)
  cmake_parse_arguments(PARSE_ARGV 1 arg "LIBRARIES" "NAME;SECTION;DESCRIPTION" "DEPENDS")
  string(TOUPPER ${component} c)
  if(arg_LIBRARIES)
    set(CPACK_DEBIAN_${c}_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/triggers PARENT_SCOPE)
  endif()
  set(CPACK_DEBIAN_${c}_PACKAGE_NAME ${arg_NAME} PARENT_SCOPE)
  set(CPACK_DEBIAN_${c}_PACKAGE_SECTION ${arg_SECTION} PARENT_SCOPE)
  set(CPACK_DEBIAN_${c}_DESCRIPTION "${arg_DESCRIPTION}" PARENT_SCOPE)
  list(JOIN arg_DEPENDS ", " depends)
  set(CPACK_DEBIAN_${c}_PACKAGE_DEPENDS "${depends}" PARENT_SCOPE)
  set(CPACK_COMPONENTS_ALL ${CPACK_COMPONENTS_ALL} ${component} PARENT_SCOPE)
  if(NOT WIN32)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
      DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${arg_NAME} COMPONENT ${component})
  endif()
endfunction()

set(kv_runtime_package libkvnodedefine${PROJECT_VERSION_MAJOR})
set(kv_about "KvNodeDefine describes parametric connection nodes between steel members
for steel-structure design applications: the members that meet in a node,
its plates, cuts, bolts, bolt groups and link bars, the variables that size
them and the named points, lines, planes, vectors and distances that place
them. Node definitions are kept as XML in UTF-8, UTF-16, GBK or GB18030.")
kv_debian_package(runtime LIBRARIES NAME ${kv_runtime_package} SECTION libs
  DESCRIPTION "steel connection node descriptors kept as XML - shared libraries
${kv_about}

This package holds the shared libraries a design application loads:
libKvNodeDefine, whose descriptor classes register themselves when it
loads, and libkvhost, the application framework stand-ins and the XML
object library that reads and writes the documents.")
kv_debian_package(dev NAME libkvnodedefine-dev SECTION libdevel
  DEPENDS "${kv_runtime_package} (= ${PROJECT_VERSION})"
  DESCRIPTION "steel connection node descriptors kept as XML - development files
${kv_about}

This package holds what a design application builds against: the headers,
the CMake package KvNodeDefine and the pkg-config file KvNodeDefine.")
kv_debian_package(tool NAME kvnode SECTION devel
  DEPENDS "${kv_runtime_package} (= ${PROJECT_VERSION})"
  DESCRIPTION "checks, shows and normalises steel connection node definitions
kvnode is the tool for the engineers who write node definitions for the
KvNodeDefine library. It checks that a definition is read exactly as
written and finds dangling names, duplicates, wrong counts and cycles among
its constructions; it shows a definition as a tree, draws its construction
graph, rewrites its layout without changing a value, and prints an XML
Schema of the format for editors.")
if(KV_BUILD_PYTHON)
  # as dh_python3 makes it for an extension of one Python version
  string(REGEX REPLACE "^3\\.([0-9]+)$" "\\1" kv_python_minor ${KV_PYTHON_VERSION})
  math(EXPR kv_python_next "${kv_python_minor} + 1")
  kv_debian_package(python NAME python3-kvnodedefine SECTION python
    DEPENDS "${kv_runtime_package} (= ${PROJECT_VERSION})" "python3 (>= ${KV_PYTHON_VERSION}~)"
      "python3 (<< 3.${kv_python_next})"
    DESCRIPTION "steel connection node descriptors kept as XML - Python 3 module
${kv_about}

This package holds the module kvnodedefine, with which Python scripts load,
walk, change, build, save and check node definitions: reports of every
plate and bolt of a library, an office's own checks beside the built-in
ones, node variants generated from a template.")
endif()
include(CPack)
