# The pictures and icons of resources/ as one generated C++ source of byte arrays,
# ${LW_EMBEDDED_TABLE}, which host/linux/embedded_resources.cpp looks names up in.
file(GLOB LW_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
# Changes whenever a file comes or goes, so the table is made again then too.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/resource_files.txt CONTENT "${LW_RESOURCE_FILES}")
set(LW_EMBEDDED_TABLE ${CMAKE_BINARY_DIR}/generated/embedded_table.cpp)
add_custom_command(
  OUTPUT ${LW_EMBEDDED_TABLE}
  COMMAND ${CMAKE_COMMAND} -DRESOURCE_DIR=${CMAKE_SOURCE_DIR}/resources -DOUTPUT=${LW_EMBEDDED_TABLE}
          -P ${CMAKE_SOURCE_DIR}/cmake/embed_resources.cmake
  DEPENDS ${LW_RESOURCE_FILES} ${CMAKE_BINARY_DIR}/generated/resource_files.txt
          ${CMAKE_SOURCE_DIR}/cmake/embed_resources.cmake
  COMMENT "Embedding the pictures and icons of resources/")
