# SPDX-License-Identifier: MIT
# The reader program `pagoro`: its window, the program entry, the desktop
# entry and icon.
find_package(Qt6 REQUIRED COMPONENTS Network Quick)
add_library(pagoro_window STATIC
  absolute_path.cpp
  application.cpp
  command_line.cpp
  compositing_path.cpp
  drop_target.cpp
  error_reporter.cpp
  forget.cpp
  file_chooser.cpp
  full_screen_key.cpp
  logging.cpp
  main_form.cpp
  mode_requests.cpp
  recent_store.cpp
  signal_watch.cpp
  single_instance.cpp
  start_screen.cpp)
target_include_directories(pagoro_window PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pagoro_window PUBLIC
  pagoro_core pagoro_player pagoro_input_hook pagoro_translations Qt6::Widgets Qt6::Network Qt6::Quick)

qt_add_executable(pagoro main.cpp)
qt_add_resources(pagoro pagoro_icon PREFIX /pagoro FILES pagoro.png)
target_compile_definitions(pagoro PRIVATE
  PAGORO_FILE_VERSION="${PROJECT_VERSION}"
  PAGORO_PRODUCT_VERSION="${PAGORO_PRODUCT_VERSION}")
target_link_libraries(pagoro PRIVATE pagoro_window)
pagoro_strip(pagoro)

if(BUILD_TESTING)
  add_executable(pagoro_window_unit_test app_text_test.cpp command_line_test.cpp
    compositing_path_test.cpp drop_target_test.cpp)
  target_link_libraries(pagoro_window_unit_test PRIVATE pagoro_window GTest::gtest_main)
  gtest_discover_tests(pagoro_window_unit_test DISCOVERY_TIMEOUT 60)
endif()

configure_file(pagoro.desktop.in pagoro.desktop @ONLY)
# The AppStream metadata: the media types are the desktop entry's.
file(STRINGS pagoro.desktop.in pagoro_mime_line REGEX "^MimeType=")
string(REGEX REPLACE "^MimeType=|;$" "" pagoro_mime_types "${pagoro_mime_line}")
set(PAGORO_MEDIATYPES "")
foreach(type IN LISTS pagoro_mime_types)
  string(APPEND PAGORO_MEDIATYPES "    <mediatype>${type}</mediatype>\n")
endforeach()
string(TIMESTAMP PAGORO_RELEASE_DATE "%Y-%m-%d" UTC)
configure_file(pagoro.metainfo.xml org.example.pagoro.metainfo.xml @ONLY)
install(TARGETS pagoro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/pagoro.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/org.example.pagoro.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES pagoro.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
install(FILES pagoro.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
pagoro_man_page(pagoro ${CMAKE_CURRENT_SOURCE_DIR}/pagoro.1)
pagoro_man_page(pagoro ${CMAKE_CURRENT_SOURCE_DIR}/pagoro.zh_CN.1 LOCALE zh_CN)
