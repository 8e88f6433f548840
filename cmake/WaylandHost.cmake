# The Wayland host: a client of its own on libwayland-client, the keyboard through xkbcommon. The
# protocol code of xdg-shell, viewporter and fractional-scale-v1 is made here by wayland-scanner
# from Debian's wayland-protocols, into the build folder; none of it is kept in the tree.
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
pkg_check_modules(XKBCOMMON REQUIRED IMPORTED_TARGET xkbcommon)
pkg_get_variable(LW_WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
pkg_get_variable(LW_WAYLAND_SCANNER wayland-scanner wayland_scanner)
if(NOT LW_WAYLAND_PROTOCOLS_DIR OR NOT LW_WAYLAND_SCANNER)
  message(FATAL_ERROR "wayland-protocols and wayland-scanner are needed (scripts/install-deps build)")
endif()

set(LW_PROTOCOL_DIR ${CMAKE_BINARY_DIR}/generated/wayland)
file(MAKE_DIRECTORY ${LW_PROTOCOL_DIR})
set(LW_PROTOCOL_SOURCES)
foreach(protocol stable/xdg-shell/xdg-shell stable/viewporter/viewporter
                 staging/fractional-scale/fractional-scale-v1)
  get_filename_component(name ${protocol} NAME)
  set(xml ${LW_WAYLAND_PROTOCOLS_DIR}/${protocol}.xml)
  add_custom_command(
    OUTPUT ${LW_PROTOCOL_DIR}/${name}-client.h ${LW_PROTOCOL_DIR}/${name}.c
    COMMAND ${LW_WAYLAND_SCANNER} client-header ${xml} ${LW_PROTOCOL_DIR}/${name}-client.h
    COMMAND ${LW_WAYLAND_SCANNER} private-code ${xml} ${LW_PROTOCOL_DIR}/${name}.c
    DEPENDS ${xml}
    COMMENT "Making the client code of ${name}")
  list(APPEND LW_PROTOCOL_SOURCES ${LW_PROTOCOL_DIR}/${name}-client.h ${LW_PROTOCOL_DIR}/${name}.c)
endforeach()

file(GLOB LW_WAYLAND_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/host/wayland/*.cpp)
add_library(lw_wayland OBJECT ${LW_WAYLAND_SOURCES} ${LW_PROTOCOL_SOURCES})
target_include_directories(lw_wayland PRIVATE ${LW_PROTOCOL_DIR})
target_link_libraries(lw_wayland PUBLIC lw_engine lw_linux PkgConfig::WAYLAND_CLIENT PkgConfig::XKBCOMMON
                      Threads::Threads)
