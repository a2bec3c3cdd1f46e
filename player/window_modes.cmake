# pagoro_window_modes: the window-mode arithmetic, the movie command protocol
# and the application-wide input hook, without the window that uses them.
add_library(pagoro_window_modes STATIC
  window_geometry.cpp
  command_protocol.cpp
  input_hook.cpp
  mode_requests.cpp)
target_include_directories(pagoro_window_modes PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pagoro_window_modes PUBLIC Qt6::Core Qt6::Gui)

add_executable(pagoro_window_modes_test
  window_geometry_test.cpp
  command_protocol_test.cpp)
target_link_libraries(pagoro_window_modes_test PRIVATE pagoro_window_modes GTest::gtest_main)
gtest_discover_tests(pagoro_window_modes_test DISCOVERY_TIMEOUT 60)

find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(pagoro_input_hook_test input_hook_test.cpp)
target_link_libraries(pagoro_input_hook_test PRIVATE
  pagoro_window_modes Qt6::Widgets Qt6::Test GTest::gtest)
gtest_discover_tests(pagoro_input_hook_test DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
