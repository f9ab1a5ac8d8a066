# The control's pictures are drawn by a small program of the build machine
# (tools/make_pictures): it is built with the host's C++ compiler and writes the picture files
# into the generated directory, where kelpy.rc finds them.
find_program(KELPY_HOST_CXX NAMES c++ g++ PATHS /usr/bin NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(kelpy_picture_maker_source ${CMAKE_SOURCE_DIR}/tools/make_pictures/make_pictures.cpp)
set(kelpy_picture_maker ${CMAKE_BINARY_DIR}/host/make_pictures)
set(kelpy_picture_dir ${KELPY_GENERATED}/pictures)
set(kelpy_pictures)
foreach(p item_plus item_minus item_disconnected item_checked item_unchecked item_root
          item_mixed)
  list(APPEND kelpy_pictures ${kelpy_picture_dir}/${p}.bmp ${kelpy_picture_dir}/${p}_24.bmp
                             ${kelpy_picture_dir}/${p}_32.bmp)
endforeach()
foreach(p drag_up.cur drag_down.cur drag_both.cur toolbox.bmp)
  list(APPEND kelpy_pictures ${kelpy_picture_dir}/${p})
endforeach()

add_custom_command(
  OUTPUT ${kelpy_picture_maker}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
  COMMAND ${KELPY_HOST_CXX} -std=c++17 -O1 -o ${kelpy_picture_maker} ${kelpy_picture_maker_source}
  DEPENDS ${kelpy_picture_maker_source}
  COMMENT "make_pictures (host program)"
  VERBATIM)
add_custom_command(
  OUTPUT ${kelpy_pictures}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${kelpy_picture_dir}
  COMMAND ${kelpy_picture_maker} ${kelpy_picture_dir}
  DEPENDS ${kelpy_picture_maker}
  COMMENT "The control's pictures"
  VERBATIM)
add_custom_target(kelpy_pictures DEPENDS ${kelpy_pictures})

# kelpy.rc names the pictures by file name; they are found in the generated directory.
add_dependencies(kelpy_resources kelpy_pictures)
target_include_directories(kelpy_resources PRIVATE ${kelpy_picture_dir})
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/kelpy.rc APPEND PROPERTY OBJECT_DEPENDS ${kelpy_pictures})
