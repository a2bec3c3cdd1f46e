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
  key_sheet.cpp
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

# The key sheet's About part shows the version as --version does.
set_source_files_properties(key_sheet.cpp PROPERTIES COMPILE_DEFINITIONS
  "PAGORO_FILE_VERSION=\"${PROJECT_VERSION}\";PAGORO_PRODUCT_VERSION=\"${PAGORO_PRODUCT_VERSION}\"")

qt_add_executable(pagoro main.cpp)
qt_add_resources(pagoro pagoro_icon PREFIX /pagoro FILES pagoro.png)
target_compile_definitions(pagoro PRIVATE
  PAGORO_FILE_VERSION="${PROJECT_VERSION}"
  PAGORO_PRODUCT_VERSION="${PAGORO_PRODUCT_VERSION}")
target_link_libraries(pagoro PRIVATE pagoro_window)
pagoro_strip(pagoro)

if(BUILD_TESTING)
  add_executable(pagoro_window_unit_test app_text_test.cpp command_line_test.cpp
    compositing_path_test.cpp drop_target_test.cpp recent_store_test.cpp)
  target_link_libraries(pagoro_window_unit_test PRIVATE pagoro_window pagoro_testing
    GTest::gtest_main)
  gtest_discover_tests(pagoro_window_unit_test DISCOVERY_TIMEOUT 60)
endif()

# The id by which desktops know the reader: the desktop entry's and the
# icons' names, Wayland's app id and the AppStream component's. The project
# owns no domain, so the reversed name is under "invalid", the top-level
# domain reserved never to exist (RFC 6761): it claims no one's name.
set(PAGORO_APP_ID invalid.pagoro.pagoro)
set(PAGORO_APP_ID ${PAGORO_APP_ID} PARENT_SCOPE)
target_compile_definitions(pagoro PRIVATE PAGORO_APP_ID="${PAGORO_APP_ID}")
configure_file(pagoro.desktop.in ${PAGORO_APP_ID}.desktop @ONLY)
# The AppStream metadata: the media types are the desktop entry's, one
# element each (file(STRINGS) would keep the line's ";" escaped as "\;").
file(READ pagoro.desktop.in pagoro_desktop_entry)
string(REGEX MATCH "\nMimeType=([^\n]*)" pagoro_mime_line "${pagoro_desktop_entry}")
set(pagoro_mime_types "${CMAKE_MATCH_1}")
list(REMOVE_ITEM pagoro_mime_types "")
if(NOT pagoro_mime_types)
  message(FATAL_ERROR "pagoro.desktop.in names no MimeType")
endif()
set(PAGORO_MEDIATYPES "")
foreach(type IN LISTS pagoro_mime_types)
  string(APPEND PAGORO_MEDIATYPES "    <mediatype>${type}</mediatype>\n")
endforeach()
# The release's date is that of the version, the newest entry of
# debian/changelog, not the day of the build.
include(${PROJECT_SOURCE_DIR}/packaging/release.cmake)
configure_file(pagoro.metainfo.xml ${PAGORO_APP_ID}.metainfo.xml @ONLY)
install(TARGETS pagoro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${PAGORO_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${PAGORO_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES pagoro.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps
  RENAME ${PAGORO_APP_ID}.png)
install(FILES pagoro.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${PAGORO_APP_ID}.svg)
pagoro_man_page(pagoro ${CMAKE_CURRENT_SOURCE_DIR}/pagoro.1)
pagoro_man_page(pagoro ${CMAKE_CURRENT_SOURCE_DIR}/pagoro.zh_CN.1 LOCALE zh_CN)
