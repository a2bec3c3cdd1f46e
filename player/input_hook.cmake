# SPDX-License-Identifier: MIT
# pagoro_input_hook: the application-wide input hook, without the window
# that uses it.
add_library(pagoro_input_hook STATIC input_hook.cpp input_hook.h)
target_include_directories(pagoro_input_hook PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pagoro_input_hook PUBLIC Qt6::Core Qt6::Gui)

if(BUILD_TESTING)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(pagoro_input_hook_test input_hook_test.cpp)
  target_link_libraries(pagoro_input_hook_test PRIVATE
    pagoro_input_hook Qt6::Widgets Qt6::Test GTest::gtest)
  gtest_discover_tests(pagoro_input_hook_test DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
