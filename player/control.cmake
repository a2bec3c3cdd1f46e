# pagoro_player: the movie player control (Qt WebEngine running Ruffle).
add_library(pagoro_player STATIC
  shockwave_flash.cpp
  shockwave_flash.h
  player_control.h
  player_error.h
)
target_include_directories(pagoro_player PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pagoro_player PUBLIC
  Qt6::Core Qt6::Gui Qt6::Widgets Qt6::WebEngineWidgets Qt6::WebChannel)
