# The page (scripts/web): the program, the engine and the web host in WebAssembly, twice. One
# build runs where the page is cross-origin isolated: the worker and the band pool are threads in
# shared memory. The other runs in any page, on the page's one thread, each of the worker's
# sleeps handing the thread back to the browser (Asyncify). The page (src/host/web/page/) loads
# the one it can run. Both decode the pictures with stb_image.
set(LW_WEB_SITE_DIR ${CMAKE_SOURCE_DIR}/build-web CACHE PATH "Where the page and its modules go")

include(cmake/EmbeddedResources.cmake)
file(GLOB LW_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/host/web/*.cpp)
set(LW_WEB_BRIDGE ${CMAKE_SOURCE_DIR}/src/host/web/page_bridge.js)
list(APPEND LW_WEB_SOURCES
  ${CMAKE_SOURCE_DIR}/src/host/linux/embedded_resources.cpp ${CMAKE_SOURCE_DIR}/src/host/linux/image_codec.cpp
  ${CMAKE_SOURCE_DIR}/src/host/linux/utf8.cpp ${CMAKE_SOURCE_DIR}/src/host/stb/stb_codec.cpp
  ${CMAKE_SOURCE_DIR}/src/host/stb/stb_decoders.cpp ${LW_EMBEDDED_TABLE}
  ${CMAKE_SOURCE_DIR}/src/app/main_web.cpp ${CMAKE_SOURCE_DIR}/src/app/app_config.cpp)

# The engine's SSE2 code paths through WebAssembly's 128-bit SIMD, and memory.fill for the clears.
# Not -flto: it made frames a little faster under node but no longer the native program's, byte
# for byte; nor -mnontrapping-fptoint, whose conversions of doubles out of range differ from x86's.
set(LW_WEB_COMPILE -msimd128 -msse2 -mbulk-memory)
# Memory grows with the screen: an 8K screen's frame, depth buffer and half-size frame take some
# 300 MB, a small screen's far less. The threads build's shared memory is reserved at its largest
# when the page starts, so the largest stays modest.
set(LW_WEB_LINK -sMODULARIZE=1 -sEXPORT_NAME=createLumenwaltz -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=1GB
    --js-library ${LW_WEB_BRIDGE})

# Without threads: the engine (lw_engine) as the main CMakeLists made it. C++ exceptions stay off
# here, since Asyncify cannot unwind through WebAssembly's own; nothing that throws runs without
# threads. Node runs this build too (the frame comparison and the benchmark).
target_compile_options(lw_engine PRIVATE ${LW_WEB_COMPILE})
add_executable(lw_page ${LW_WEB_SOURCES})
target_include_directories(lw_page SYSTEM PRIVATE ${CMAKE_SOURCE_DIR}/third_party)
target_compile_options(lw_page PRIVATE ${LW_WEB_COMPILE})
target_link_libraries(lw_page PRIVATE lw_engine)
# Asyncify instruments every function that may reach a sleep, and by default takes every call
# through a pointer for one that may: then the band loop, the placement and the step went through
# its checks too, 6 to 8 % of a frame. Only three calls through a pointer lead to the worker's
# sleeps: its entry calls the program's process (processThreadMain calls processHook), and the
# scene's process calls each frame (sceneRun, inlined into sceneProcess, its one caller). The
# functions that make them are named here; the calls below them are direct, and Asyncify follows
# those itself. A name that stops matching (a function renamed) makes the link warn of "a
# non-existing function name"; a call through a pointer moved elsewhere goes unnoticed by the
# link. Either way the page's sleeps go wrong in the browser: the tests in Chromium fail (the
# animation ended at once, or stopped taking keys).
target_link_options(lw_page PRIVATE ${LW_WEB_LINK} -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536
                    -sASYNCIFY_IGNORE_INDIRECT=1
                    "-sASYNCIFY_ADD=[lw_web_worker_main,lw::processThreadMain(),lw::sceneProcess()]"
                    -sENVIRONMENT=web,worker,node)

# With threads: the same sources again with shared memory and WebAssembly's exceptions, which the
# band pool falls back on when a helper cannot start and the worker ends by.
add_library(lw_engine_threads STATIC ${LW_ENGINE_SOURCES})
target_include_directories(lw_engine_threads PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(lw_engine_threads PRIVATE ${LW_WEB_COMPILE} -pthread -fwasm-exceptions)
add_executable(lw_page_threads ${LW_WEB_SOURCES})
target_include_directories(lw_page_threads SYSTEM PRIVATE ${CMAKE_SOURCE_DIR}/third_party)
target_compile_options(lw_page_threads PRIVATE ${LW_WEB_COMPILE} -pthread -fwasm-exceptions)
target_link_libraries(lw_page_threads PRIVATE lw_engine_threads)
# A thread for the worker and one for each band helper, made before the page starts.
target_link_options(lw_page_threads PRIVATE ${LW_WEB_LINK} -pthread -fwasm-exceptions -Wno-pthreads-mem-growth
                    -sPTHREAD_POOL_SIZE=navigator.hardwareConcurrency -sENVIRONMENT=web,worker)

set_target_properties(lw_page PROPERTIES OUTPUT_NAME lumenwaltz SUFFIX .js)
set_target_properties(lw_page_threads PROPERTIES OUTPUT_NAME lumenwaltz-threads SUFFIX .js)
foreach(page lw_page lw_page_threads)
  set_target_properties(${page} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LW_WEB_SITE_DIR} LINK_DEPENDS ${LW_WEB_BRIDGE})
endforeach()

# The page itself, beside the modules.
file(GLOB LW_WEB_PAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/host/web/page/*)
set(LW_WEB_PAGE_COPIES "")
foreach(file ${LW_WEB_PAGE_FILES})
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${LW_WEB_SITE_DIR}/${name} COMMAND ${CMAKE_COMMAND} -E copy ${file} ${LW_WEB_SITE_DIR}/${name}
                     DEPENDS ${file})
  list(APPEND LW_WEB_PAGE_COPIES ${LW_WEB_SITE_DIR}/${name})
endforeach()
add_custom_target(lw_site ALL DEPENDS ${LW_WEB_PAGE_COPIES})

# The unit tests of the page's own code paths, in WebAssembly, run under node by the web stage: its
# SIMD blends against the scalar ones for every alpha and span, as the native suite holds the SSE2
# ones, and its fill of the clears. GoogleTest comes from Debian's sources (googletest). Not part
# of the page, so built only when asked for.
set(LW_GTEST_SOURCE_DIR /usr/src/googletest/googletest CACHE PATH "GoogleTest's sources")
add_executable(lw_web_unit_tests EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tests/blends_test.cpp
               ${CMAKE_SOURCE_DIR}/tests/fill_pixels_test.cpp
               ${LW_GTEST_SOURCE_DIR}/src/gtest-all.cc ${LW_GTEST_SOURCE_DIR}/src/gtest_main.cc)
target_include_directories(lw_web_unit_tests SYSTEM PRIVATE ${LW_GTEST_SOURCE_DIR}/include ${LW_GTEST_SOURCE_DIR})
target_compile_options(lw_web_unit_tests PRIVATE ${LW_WEB_COMPILE})
target_link_libraries(lw_web_unit_tests PRIVATE lw_engine)
# One file, the module inside: node cannot fetch a .wasm from a path.
target_link_options(lw_web_unit_tests PRIVATE -sENVIRONMENT=node -sSINGLE_FILE=1)
set_target_properties(lw_web_unit_tests PROPERTIES SUFFIX .js)
