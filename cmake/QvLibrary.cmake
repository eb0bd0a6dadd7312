# qv_library(<target> [HEADERS <h...>] [SOURCES <cpp...>] [LINKS <targets...>] [PREFIX <path>])
# One static library of a product folder. Its headers are reached as "<folder>/<Header>.h"
# through an include root of its own in the build tree, which holds only this library's headers
# (each a one-line forwarder to the source file). A library that includes a header of a library
# it does not link fails to find it: the links below are the layering, and the compiler checks it.
# PREFIX is the folder part of the include (default: the folder's path from the source root).
function(qv_library name)
  cmake_parse_arguments(L "" "PREFIX" "HEADERS;SOURCES;LINKS" ${ARGN})
  if(NOT L_PREFIX)
    file(RELATIVE_PATH L_PREFIX ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  if(L_SOURCES)
    add_library(${name} STATIC ${L_HEADERS} ${L_SOURCES})
  else()
    # Header-only: the forwarders and the links, nothing to compile.
    add_library(${name} INTERFACE ${L_HEADERS})
  endif()
  qv_include_root(${name} PREFIX ${L_PREFIX} HEADERS ${L_HEADERS})
  if(L_LINKS)
    if(L_SOURCES)
      target_link_libraries(${name} PUBLIC ${L_LINKS})
    else()
      target_link_libraries(${name} INTERFACE ${L_LINKS})
    endif()
  endif()
endfunction()

# qv_include_root(<target> PREFIX <path> HEADERS <h...>): the include root of <target>, holding
# "<path>/<h>" for each of its headers and nothing else.
function(qv_include_root name)
  cmake_parse_arguments(R "" "PREFIX" "HEADERS" ${ARGN})
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  foreach(h ${R_HEADERS})
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${h})
    # Rewritten only when its text changes, so that a new configure rebuilds nothing.
    file(CONFIGURE OUTPUT ${root}/${R_PREFIX}/${h} CONTENT "#include \"${source}\" // IWYU pragma: export\n" @ONLY)
  endforeach()
  get_target_property(type ${name} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${name} INTERFACE $<BUILD_INTERFACE:${root}>)
  else()
    target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${root}>)
  endif()
endfunction()
