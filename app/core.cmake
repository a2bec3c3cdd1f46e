# pagoro_app_core: the window-free half of the program (cache folders,
# temporary files, opening a book), plain C++.
add_library(pagoro_app_core STATIC
  cache_folder.cpp cache_folder.h
  book_opener.cpp book_opener.h
  folder_lock.cpp folder_lock.h)
target_include_directories(pagoro_app_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pagoro_app_core PUBLIC pagoro_book)

add_executable(pagoro_app_core_test
  cache_folder_test.cpp
  book_opener_test.cpp
  folder_lock_test.cpp
  cache_folder_testing.h)
target_link_libraries(pagoro_app_core_test PRIVATE pagoro_app_core pagoro_packer GTest::gtest_main)
gtest_discover_tests(pagoro_app_core_test DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
