# The link feature KvNodeDefine_LOADED, with which KvNodeDefine::KvNodeDefine
# links the library on ELF platforms: loaded with the host even when the host
# names none of its symbols (a host that only reads documents through
# CXMLDocument), since its descriptor classes register when it loads. The
# host's own --as-needed holds for every other library. Read by this project
# and by its installed CMake package; cached, so that it reaches a
# find_package called inside a function. (Windows: the target refers to a
# symbol of the library instead.)
if(NOT WIN32)
  set(CMAKE_LINK_LIBRARY_USING_KvNodeDefine_LOADED
    "LINKER:--push-state,--no-as-needed" "<LINK_ITEM>" "LINKER:--pop-state" CACHE INTERNAL "")
  set(CMAKE_LINK_LIBRARY_USING_KvNodeDefine_LOADED_SUPPORTED TRUE CACHE INTERNAL "")
endif()
