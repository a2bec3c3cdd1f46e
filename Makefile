# The two commands of the README: `make run` and `make test`.
# Both install what is missing first (scripts/install-deps.sh), then build.
JOBS ?= $(shell nproc)
# Where `make install` puts the reader and pagoro-book (DESTDIR is honoured too).
PREFIX ?= /usr/local
# `make bench` builds the benchmarks into the run build as well.
BENCH ?= OFF
TEST_DIR := build/test
RUN_DIR := build/release
FUZZ_DIR := build/fuzz
CMAKE_GEN := -G Ninja

.PHONY: deps build test lint run fuzz bench soak install deb clean

deps:
	@scripts/install-deps.sh

# Configuring again each time is cheap and picks up changed options
# (make bench turns the benchmarks on in the same build folder).
build: deps
	cmake -S . -B $(RUN_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DPAGORO_BENCH=$(BENCH) >/dev/null
	cmake --build $(RUN_DIR) -j $(JOBS)

# The end-to-end tests run one at a time (RUN_SERIAL) on a private display.
# No test is retried: a test waits for a sign of what it expects, with a
# bound, so a failure means something.
TEST_CONFIG := -DCMAKE_BUILD_TYPE=Debug -DPAGORO_SANITIZE=ON -DPAGORO_WERROR=ON -DPAGORO_BENCH=OFF
test: deps
	cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) $(TEST_CONFIG) >/dev/null
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600

# clang-tidy (.clang-tidy) and cppcheck over the Qt-free core, with the test
# build's compile commands; any finding fails.
LINT_SOURCES := $(filter-out %_test.cpp,$(wildcard book/*.cpp core/*.cpp))
lint: deps
	cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) $(TEST_CONFIG) >/dev/null
	clang-tidy -p $(TEST_DIR) --quiet $(LINT_SOURCES)
	cppcheck --std=c++20 --enable=warning,style,performance,portability --error-exitcode=1 \
	  --quiet --inline-suppr --suppress=missingIncludeSystem --suppress=useStlAlgorithm \
	  -I . $(LINT_SOURCES)

run: build
	@scripts/run-sample.sh $(RUN_DIR)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	  "-DCMAKE_C_FLAGS_DEBUG=-O1 -g" "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g" -DPAGORO_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	scripts/fuzz.sh $(FUZZ_DIR) 60

bench: BENCH = ON
bench: build
	bench/compare.sh $(RUN_DIR)

# 150 drops and 150 starts on a private display, reporting descriptors,
# threads, files and memory every 10 steps (about half an hour; not in
# `test`). An optimized build of its own: the test programs are in it.
SOAK_DIR := build/soak
soak: deps
	cmake -S . -B $(SOAK_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGORO_BENCH=OFF >/dev/null
	cmake --build $(SOAK_DIR) -j $(JOBS) --target pagoro pagoro-book pagoro-remote-movie pagoro-drag-source
	nice tests/with-display.sh -- tests/soak/soak.sh $(SOAK_DIR)

install: build
	cmake --install $(RUN_DIR) --prefix $(PREFIX)

# The Debian package of the run build: build/release/pagoro_<version>_amd64.deb.
deb: build
	cd $(RUN_DIR) && cpack -G DEB

clean:
	rm -rf build
