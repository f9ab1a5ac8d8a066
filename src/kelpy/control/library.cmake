# kelpy.dll: the four entry points of the in-process server (server.cpp), the control's code
# (kelpy_core), the module definition that limits the exports to those four, and the resources.
#
# The resources are an object library that every binary linking the control's code carries
# (kelpy.dll and the test programs alike): the control loads its type library, version and
# pictures from the binary it runs in. The version comes from the CMake project version only.
set(kelpy_resource_dir ${CMAKE_CURRENT_LIST_DIR}/resources)
add_library(kelpy_resources OBJECT ${kelpy_resource_dir}/kelpy.rc)
target_include_directories(kelpy_resources PRIVATE ${kelpy_resource_dir})
target_compile_definitions(kelpy_resources PRIVATE
  KELPY_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  KELPY_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  KELPY_VERSION_REVISION=${PROJECT_VERSION_PATCH})
add_dependencies(kelpy_resources kelpy_idl)
# Recompile the resources when the type library or any file of the folder (pictures) changes.
file(GLOB kelpy_resource_files CONFIGURE_DEPENDS ${kelpy_resource_dir}/*)
list(APPEND kelpy_resource_files ${CMAKE_CURRENT_LIST_DIR}/../model/resource_ids.h)
set_source_files_properties(${kelpy_resource_dir}/kelpy.rc PROPERTIES
  OBJECT_DEPENDS "${KELPY_GENERATED}/kelpy.tlb;${kelpy_resource_files}")
# The pictures are drawn at build time (resources/pictures.cmake).
include(${kelpy_resource_dir}/pictures.cmake)

target_sources(kelpy_core INTERFACE $<TARGET_OBJECTS:kelpy_resources>)

add_library(kelpy SHARED
  ${CMAKE_CURRENT_LIST_DIR}/server.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kelpy.def)
target_link_libraries(kelpy PRIVATE kelpy_core)
set_target_properties(kelpy PROPERTIES PREFIX "" OUTPUT_NAME kelpy)
if(KELPY_ARCH STREQUAL x86)
  # The .def names the entry points undecorated; the 32-bit linker maps them to their
  # stdcall symbols (DllGetClassObject@12, ...), which is the intended export.
  target_link_options(kelpy PRIVATE -Wl,--enable-stdcall-fixup)
endif()
