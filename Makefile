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

.PHONY: deps build test lint run fuzz bench install clean

deps:
	@scripts/install-deps.sh

# Configuring again each time is cheap and picks up changed options
# (make bench turns the benchmarks on in the same build folder).
build: deps
	cmake -S . -B $(RUN_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DPAGORO_BENCH=$(BENCH) >/dev/null
	cmake --build $(RUN_DIR) -j $(JOBS)

# The end-to-end tests run one at a time (RUN_SERIAL) on a private display;
# a test that fails is run once more and counts as failed only if it fails
# again: timing under a loaded machine can still upset a real web engine.
TEST_CONFIG := -DCMAKE_BUILD_TYPE=Debug -DPAGORO_SANITIZE=ON -DPAGORO_WERROR=ON -DPAGORO_BENCH=OFF
test: deps
	cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) $(TEST_CONFIG) >/dev/null
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600 --repeat until-pass:2

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
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DPAGORO_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	scripts/fuzz.sh $(FUZZ_DIR) 60

bench: BENCH = ON
bench: build
	bench/compare.sh $(RUN_DIR)

install: build
	cmake --install $(RUN_DIR) --prefix $(PREFIX)

clean:
	rm -rf build
