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
install(DIRECTORY host/appframe host/arx host/xmlobj
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kvhost COMPONENT dev
  FILES_MATCHING PATTERN "*.h" PATTERN "DomImpl.h" EXCLUDE PATTERN "DocumentFile.h" EXCLUDE
  PATTERN "TextConverter.h" EXCLUDE PATTERN "TextPool.h" EXCLUDE PATTERN "RecentNameLists.h" EXCLUDE PATTERN "Utf8Sequence.h" EXCLUDE)
file(GLOB kv_public_headers CONFIGURE_DEPENDS KvNodeDefine/*.h)
install(FILES ${kv_public_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/KvNodeDefine COMPONENT dev)

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
  add_custom_command(OUTPUT kvnode.1
    COMMAND sh ${PROJECT_SOURCE_DIR}/tools/kvnode/cli/manpage.sh $<TARGET_FILE:kvnode> kvnode.1
    DEPENDS kvnode ${PROJECT_SOURCE_DIR}/tools/kvnode/cli/manpage.sh
    COMMENT "Writing the manual page kvnode(1) from kvnode --help")
  add_custom_target(manpage ALL DEPENDS kvnode.1)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kvnode.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tool)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kvnode.xsd DESTINATION ${CMAKE_INSTALL_DATADIR}/kvnode COMPONENT tool)
  install(FILES tools/kvnode/cli/kvnode.bash RENAME kvnode
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT tool)
endif()

# ---- packages: a .deb per component, and one .tar.gz of everything -----------
set(CPACK_PACKAGE_NAME KvNodeDefine)
set(CPACK_PACKAGE_VENDOR KvNodeDefine)
set(CPACK_PACKAGE_CONTACT "KvNodeDefine maintainers <kvnodedefine@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Parametric steel connection node descriptors, persisted as XML")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime dev tool)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(kv_runtime_package libkvnodedefine${PROJECT_VERSION_MAJOR})
set(kv_depends_runtime "${kv_runtime_package} (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${kv_runtime_package})
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "KvNodeDefine, the node descriptor library
 The shared libraries that load, hand out and save node definitions.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libkvnodedefine-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS ${kv_depends_runtime})
set(CPACK_DEBIAN_DEV_DESCRIPTION "KvNodeDefine, the node descriptor library (development files)
 Headers, the CMake package KvNodeDefine and the pkg-config file KvNodeDefine.")
set(CPACK_DEBIAN_TOOL_PACKAGE_NAME kvnode)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS ${kv_depends_runtime})
set(CPACK_DEBIAN_TOOL_DESCRIPTION "Checks, shows and normalises node definition documents
 kvnode lints node definitions, prints them as a tree, draws their
 construction graph and saves them normalised.")
# the tool's own libraries are in the runtime package, not yet installed
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_CURRENT_BINARY_DIR})
include(CPack)
