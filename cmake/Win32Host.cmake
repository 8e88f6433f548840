# The Windows screensaver, Lumenwaltz.scr: the program, the engine, the Win32 host and the resource script,
# linked statically so it needs no DLL that Windows does not ship. No tests or benchmarks here:
# the Windows build is tested as a user meets it, under Wine (tests/wine/).
enable_language(RC)

set(LW_RESOURCE_DIR ${CMAKE_SOURCE_DIR}/resources CACHE PATH "Folder of the pictures and icons the resource script names")
file(GLOB LW_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/host/win32/*.cpp)
file(GLOB LW_RESOURCE_FILES CONFIGURE_DEPENDS ${LW_RESOURCE_DIR}/*.jpg ${LW_RESOURCE_DIR}/*.bmp
     ${LW_RESOURCE_DIR}/*.ico ${CMAKE_SOURCE_DIR}/resources/*.manifest)
set(LW_RESOURCE_SCRIPT ${CMAKE_SOURCE_DIR}/resources/Lumenwaltz.rc)
set_source_files_properties(${LW_RESOURCE_SCRIPT} PROPERTIES OBJECT_DEPENDS "${LW_RESOURCE_FILES}")

add_executable(Lumenwaltz WIN32 ${CMAKE_SOURCE_DIR}/src/app/main_win32.cpp ${CMAKE_SOURCE_DIR}/src/app/app_config.cpp
               ${LW_WIN32_SOURCES} ${LW_RESOURCE_SCRIPT})
set_target_properties(Lumenwaltz PROPERTIES OUTPUT_NAME Lumenwaltz SUFFIX .scr)
target_include_directories(Lumenwaltz PRIVATE
  $<$<COMPILE_LANGUAGE:RC>:${LW_RESOURCE_DIR}> $<$<COMPILE_LANGUAGE:RC>:${CMAKE_SOURCE_DIR}/resources>)
target_link_libraries(Lumenwaltz PRIVATE lw_engine gdiplus ole32 shell32 winmm gdi32 user32)
target_link_options(Lumenwaltz PRIVATE -municode -static -static-libgcc -static-libstdc++)
target_include_directories(Lumenwaltz PRIVATE $<$<COMPILE_LANGUAGE:RC>:${CMAKE_BINARY_DIR}/generated>)
# No link time in the file's header, so the same sources give the same bytes.
target_link_options(Lumenwaltz PRIVATE -Wl,--no-insert-timestamp)
