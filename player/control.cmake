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

add_library(pagoro_player STATIC
  file_confinement.cpp file_confinement.h
  host_page.cpp host_page.h
  movie_scheme.cpp movie_scheme.h
  page_bridge.cpp page_bridge.h
  player_error.h
  player_log.cpp player_log.h
  shockwave_flash.cpp shockwave_flash.h
  variable_queue.cpp variable_queue.h
)
target_include_directories(pagoro_player PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pagoro_player PUBLIC pagoro_core pagoro_movie_patch
  Qt6::Core Qt6::Gui Qt6::Widgets Qt6::WebEngineWidgets Qt6::WebChannel)

qt_add_resources(pagoro_player pagoro_ruffle BIG_RESOURCES
  PREFIX /pagoro/ruffle BASE ${PAGORO_RUFFLE_DIR} FILES ${pagoro_ruffle_files})
qt_add_resources(pagoro_player pagoro_player_page
  PREFIX /pagoro/player FILES host.html host.js fetch-shim.js)

if(BUILD_TESTING)
  add_executable(pagoro_player_unit_test file_confinement_test.cpp variable_queue_test.cpp)
  target_link_libraries(pagoro_player_unit_test PRIVATE pagoro_player GTest::gtest_main)
  gtest_discover_tests(pagoro_player_unit_test)
endif()
