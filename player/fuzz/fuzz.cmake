# SPDX-License-Identifier: MIT
# fuzz_movie_patch: libFuzzer over the movie reader and the patcher, built
# by the fuzz configuration (clang, -DPAGORO_FUZZ=ON) only.
find_package(ZLIB REQUIRED)
foreach(lib pagoro_swf pagoro_movie_patch)
  target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link)
endforeach()
add_executable(fuzz_movie_patch ${CMAKE_CURRENT_LIST_DIR}/fuzz_movie_patch.cpp)
target_compile_options(fuzz_movie_patch PRIVATE -fsanitize=fuzzer)
target_link_options(fuzz_movie_patch PRIVATE -fsanitize=fuzzer)
target_link_libraries(fuzz_movie_patch PRIVATE pagoro_movie_patch ZLIB::ZLIB)
