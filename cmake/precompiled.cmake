# Precompiled headers. Nearly every C++ file of the project includes the Windows SDK and COM
# headers and the same parts of the standard library, and every test file GoogleTest; parsing
# them again for each file is most of what compiling a small file costs. kelpy_precompile_all()
# gives every C++ target of the project a precompiled header of them (the C and resource
# targets are left alone).
set(kelpy_pch_headers
  <windows.h> <ole2.h> <oleauto.h> <ocidl.h> <olectl.h> <commctrl.h>
  <algorithm> <cstdint> <exception> <functional> <map> <memory> <optional> <span> <stdexcept>
  <string> <string_view> <unordered_map> <utility> <vector>)

# Two targets compile the precompiled header: kelpy_com for the libraries and programs, and
# kelpy_test_main (with GoogleTest) for the tests; every other C++ target reuses theirs, which
# all build with the same flags.
function(kelpy_precompile target)
  get_target_property(type ${target} TYPE)
  if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$")
    return()
  endif()
  get_target_property(sources ${target} SOURCES)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(NOT sources)
    return()
  endif()
  get_target_property(dir ${target} SOURCE_DIR)
  if(dir MATCHES "^${CMAKE_SOURCE_DIR}/tests(/|$)")
    set(host kelpy_test_main)
  else()
    set(host kelpy_com)
  endif()
  if(target STREQUAL host)
    return()
  endif()
  target_precompile_headers(${target} REUSE_FROM ${host})
  add_dependencies(${target} ${host})
endfunction()

function(kelpy_precompile_host target)
  set(headers ${kelpy_pch_headers} ${ARGN})
  set(cxx_only)
  foreach(h ${headers})
    string(REPLACE ">" "$<ANGLE-R>" h "${h}")  # a closing angle bracket would end the expression
    list(APPEND cxx_only "$<$<COMPILE_LANGUAGE:CXX>:${h}>")
  endforeach()
  target_precompile_headers(${target} PRIVATE ${cxx_only})
endfunction()

function(kelpy_precompile_folder dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t ${targets})
    kelpy_precompile(${t})
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(d ${subdirs})
    if(d MATCHES "^${CMAKE_SOURCE_DIR}/")  # the project's own folders, not GoogleTest's
      kelpy_precompile_folder(${d})
    endif()
  endforeach()
endfunction()

# Every C++ target of the project (call it after all folders are added).
function(kelpy_precompile_all)
  kelpy_precompile_host(kelpy_com)
  kelpy_precompile_host(kelpy_test_main <gtest/gtest.h>)
  kelpy_precompile_folder(${CMAKE_SOURCE_DIR})
endfunction()
