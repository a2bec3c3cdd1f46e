# The two commands of the README: `make run` and `make test`.
# Both install what is missing first (scripts/install-deps.sh), then build.
JOBS ?= $(shell nproc)
TEST_DIR := build/test
RUN_DIR := build/release
FUZZ_DIR := build/fuzz
PACKAGE_DIR := build/package
CMAKE_GEN := -G Ninja

.PHONY: deps build test run fuzz bench install deb clean tidy

deps:
	@scripts/install-deps.sh

# Configuring again each time is cheap and picks up folders that gained a
# CMakeLists.txt since the last run.
build: deps
	cmake -S . -B $(RUN_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(RUN_DIR) -j $(JOBS)

# The end-to-end tests run one at a time (RUN_SERIAL) on a private display;
# a test that fails is run once more and counts as failed only if it fails
# again: timing under a loaded machine can still upset a real web engine.
test: deps
	cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DPAGORO_SANITIZE=ON -DPAGORO_BENCH=OFF >/dev/null
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600 --repeat until-pass:2

run: build
	@scripts/run-sample.sh $(RUN_DIR)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DPAGORO_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	scripts/fuzz.sh $(FUZZ_DIR) 60

bench: build
	bench/compare.sh $(RUN_DIR)

install: build
	cmake --install $(RUN_DIR)

# The Debian package, from a release build of its own without the tests
# and benchmarks: build/package/pagoro_<version>_amd64.deb.
deb: deps
	cmake -S . -B $(PACKAGE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPAGORO_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack -G DEB

clean:
	rm -rf build
