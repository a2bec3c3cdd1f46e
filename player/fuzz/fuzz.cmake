# SPDX-License-Identifier: MIT
# fuzz_movie_patch: libFuzzer over the movie reader and the patcher, built
# by the fuzz configuration (clang, -DPAGORO_FUZZ=ON) only.
find_package(ZLIB REQUIRED)
pagoro_fuzzed(pagoro_swf pagoro_movie_patch)
pagoro_fuzz_target(fuzz_movie_patch ${CMAKE_CURRENT_LIST_DIR}/fuzz_movie_patch.cpp
                   pagoro_movie_patch ZLIB::ZLIB)
