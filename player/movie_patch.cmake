# SPDX-License-Identifier: MIT
# pagoro_movie_patch: plain C++ rewriting of movies before they are played.
add_library(pagoro_movie_patch STATIC movie_patch.cpp local_sandbox.cpp)
target_link_libraries(pagoro_movie_patch PUBLIC pagoro_swf)
target_include_directories(pagoro_movie_patch PUBLIC ${PROJECT_SOURCE_DIR})
set_target_properties(pagoro_movie_patch PROPERTIES AUTOMOC OFF)

if(BUILD_TESTING)
  find_package(ZLIB REQUIRED)
  add_executable(pagoro_movie_patch_tests movie_patch_test.cpp local_sandbox_test.cpp)
  target_link_libraries(pagoro_movie_patch_tests PRIVATE
    pagoro_movie_patch pagoro_swf_testing ZLIB::ZLIB GTest::gtest_main)
  set_target_properties(pagoro_movie_patch_tests PROPERTIES AUTOMOC OFF)
  gtest_discover_tests(pagoro_movie_patch_tests DISCOVERY_TIMEOUT 60)
endif()
