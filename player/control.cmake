# SPDX-License-Identifier: MIT
# pagoro_player: the movie player control (Qt WebEngine running Ruffle).
# Ruffle's files come from PAGORO_RUFFLE_DIR (node_modules by default,
# scripts/install-deps.sh) and are compiled into the program, so that a book
# executable plays anywhere.
file(GLOB pagoro_ruffle_files
  ${PAGORO_RUFFLE_DIR}/ruffle.js ${PAGORO_RUFFLE_DIR}/core.ruffle.*.js ${PAGORO_RUFFLE_DIR}/*.wasm)
list(LENGTH pagoro_ruffle_files pagoro_ruffle_count)
if(pagoro_ruffle_count LESS 3)
  message(FATAL_ERROR "Ruffle is missing from ${PAGORO_RUFFLE_DIR}: run scripts/install-deps.sh")
endif()

# Ruffle's two WebAssembly cores share most of their bytes. The one that
# ruffle.js loads where the engine has the WebAssembly extensions (as Qt
# WebEngine has) is compiled in whole; the other, for engines without
# them, as a zstd difference from it (player/ruffle_files.h). When the two
# can't be told apart, both are compiled in whole.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZSTD REQUIRED IMPORTED_TARGET libzstd)
find_program(PAGORO_ZSTD zstd)
file(GLOB pagoro_ruffle_cores ${PAGORO_RUFFLE_DIR}/*.wasm)
file(READ ${PAGORO_RUFFLE_DIR}/ruffle.js pagoro_ruffle_js)
# Which core that is, ruffle.js says in its chunk layout: the core it
# loads when the extensions are there is `?new URL(f(ID)...`, and module ID
# exports the core's file name. A ruffle.js laid out otherwise stops the
# build here (see "core chunk" in player/shims.md), rather than compiling in
# whatever it would then guess.
set(pagoro_ruffle_core "")
set(pagoro_ruffle_rebuilt "")
if(pagoro_ruffle_js MATCHES "\\?new URL\\([a-zA-Z_$]+\\(([0-9]+)\\)")
  set(id ${CMAKE_MATCH_1})
  if(pagoro_ruffle_js MATCHES "[,{]${id}\\([a-z],[a-z],[a-z]\\)\\{[a-z]\\.exports=[a-z]\\.p\\+\"([0-9a-f]+\\.wasm)\"")
    set(pagoro_ruffle_core ${CMAKE_MATCH_1})
  endif()
endif()
if(NOT pagoro_ruffle_core OR NOT EXISTS ${PAGORO_RUFFLE_DIR}/${pagoro_ruffle_core})
  message(FATAL_ERROR "Ruffle contract broken: \"core chunk\" (player/shims.md): "
    "${PAGORO_RUFFLE_DIR}/ruffle.js does not name the WebAssembly core it loads "
    "in the chunk layout the build reads")
endif()
list(LENGTH pagoro_ruffle_cores pagoro_core_count)
if(PAGORO_ZSTD AND pagoro_core_count EQUAL 2 AND EXISTS ${PAGORO_RUFFLE_DIR}/${pagoro_ruffle_core})
  list(REMOVE_ITEM pagoro_ruffle_cores ${PAGORO_RUFFLE_DIR}/${pagoro_ruffle_core})
  get_filename_component(pagoro_ruffle_rebuilt ${pagoro_ruffle_cores} NAME)
  list(REMOVE_ITEM pagoro_ruffle_files ${pagoro_ruffle_cores})
  set(pagoro_ruffle_difference
    ${CMAKE_CURRENT_BINARY_DIR}/ruffle/${pagoro_ruffle_rebuilt}.from.${pagoro_ruffle_core}.zst)
  add_custom_command(OUTPUT ${pagoro_ruffle_difference}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/ruffle
    COMMAND ${PAGORO_ZSTD} -q -f -19 --long=27 --patch-from=${PAGORO_RUFFLE_DIR}/${pagoro_ruffle_core}
            ${pagoro_ruffle_cores} -o ${pagoro_ruffle_difference}
    # zstd gives its output the input's time (npm's fixed 1985 for Ruffle's
    # files): the output is made newer, so that no build takes it for stale.
    COMMAND ${CMAKE_COMMAND} -E touch ${pagoro_ruffle_difference}
    DEPENDS ${pagoro_ruffle_cores} ${PAGORO_RUFFLE_DIR}/${pagoro_ruffle_core}
    COMMENT "Storing Ruffle's ${pagoro_ruffle_rebuilt} as its difference from ${pagoro_ruffle_core}"
    VERBATIM)
else()
  message(STATUS "Ruffle's WebAssembly cores are compiled in whole")
endif()

add_library(pagoro_player STATIC
  browser_links.cpp browser_links.h
  engine_switches.cpp engine_switches.h
  file_confinement.cpp file_confinement.h
  host_page.cpp host_page.h
  movie_scheme.cpp movie_scheme.h
  network_gate.cpp network_gate.h
  page_bridge.cpp page_bridge.h
  player_error.h
  player_log.cpp player_log.h
  requested_file.cpp requested_file.h
  ruffle_files.cpp ruffle_files.h
  shared_object_store.cpp shared_object_store.h
  shockwave_flash.cpp shockwave_flash.h
  variable_queue.cpp variable_queue.h
)
target_include_directories(pagoro_player PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pagoro_player PUBLIC pagoro_core pagoro_movie_patch
  Qt6::Core Qt6::Gui Qt6::Widgets Qt6::WebEngineWidgets Qt6::WebChannel)
target_link_libraries(pagoro_player PRIVATE PkgConfig::ZSTD)

qt_add_resources(pagoro_player pagoro_ruffle BIG_RESOURCES
  PREFIX /pagoro/ruffle BASE ${PAGORO_RUFFLE_DIR} FILES ${pagoro_ruffle_files})
if(pagoro_ruffle_rebuilt)
  qt_add_resources(pagoro_player pagoro_ruffle_difference
    PREFIX /pagoro/ruffle BASE ${CMAKE_CURRENT_BINARY_DIR}/ruffle FILES ${pagoro_ruffle_difference})
endif()
qt_add_resources(pagoro_player pagoro_player_page
  PREFIX /pagoro/player FILES host.html host.js object-names.js fetch-shim.js frame-pacer.js canvas-repeat.js quiet-audio.js)

if(BUILD_TESTING)
  add_executable(pagoro_player_unit_test
    engine_switches_test.cpp file_confinement_test.cpp host_page_test.cpp movie_scheme_test.cpp
    requested_file_test.cpp ruffle_files_test.cpp shared_object_store_test.cpp
    variable_queue_test.cpp)
  find_package(Qt6 REQUIRED COMPONENTS Qml)
  target_link_libraries(pagoro_player_unit_test PRIVATE pagoro_player Qt6::Qml GTest::gtest_main)
  target_compile_definitions(pagoro_player_unit_test PRIVATE
    PAGORO_RUFFLE_DIR="${PAGORO_RUFFLE_DIR}" PAGORO_RUFFLE_CORE="${pagoro_ruffle_core}"
    PAGORO_RUFFLE_REBUILT="${pagoro_ruffle_rebuilt}")
  gtest_discover_tests(pagoro_player_unit_test)
endif()
