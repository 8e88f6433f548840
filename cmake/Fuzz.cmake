# The libFuzzer targets of tests/fuzz/, one program each, over the engine and the headless host.
# Only these are built in a fuzzing tree: clang, -DLW_FUZZ=ON, its own build folder.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "LW_FUZZ needs clang (CMAKE_CXX_COMPILER=clang++)")
endif()
file(GLOB LW_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
foreach(source ${LW_FUZZ_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  lw_link_headless(${name})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endforeach()
