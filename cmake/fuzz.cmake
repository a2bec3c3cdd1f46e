# SPDX-License-Identifier: MIT
# The fuzz configuration (clang, -DPAGORO_FUZZ=ON): libFuzzer's coverage in
# the libraries under test, its own main in each fuzz target.

# pagoro_fuzzed(LIB...): the libraries whose code the fuzzers explore.
function(pagoro_fuzzed)
  foreach(lib ${ARGN})
    target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link)
  endforeach()
endfunction()

# pagoro_fuzz_target(NAME SOURCE LIB...): a fuzzer over the given libraries.
function(pagoro_fuzz_target name source)
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARGN})
endfunction()
