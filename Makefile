# SPDX-License-Identifier: MIT
# The two commands of the README: `make run` and `make test`.
# Each command first installs what it needs and is missing (scripts/install-deps.sh,
# by sets: run, test, release), then builds.
JOBS ?= $(shell nproc)
# Where `make install` puts the reader and pagoro-book (DESTDIR is honoured too).
PREFIX ?= /usr/local
# `make bench` builds the benchmarks into the run build as well.
BENCH ?= OFF
TEST_DIR := build/test
RUN_DIR := build/release
FUZZ_DIR := build/fuzz
CMAKE_GEN := -G Ninja

.PHONY: deps deps-run deps-test deps-release build test lint lint-shell lint-js format-check translations translations-check run fuzz fuzz-build fuzz-replay bench soak install deb dist package clean

# The version, from the project (CMakeLists.txt).
VERSION := $(shell sed -n 's/^project.pagoro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

# The release build is hardened as the Debian package is
# (packaging/hardening.mk), in `make build`, `run`, `install` and `deb`
# alike: the same folder and the same options, so that one after the other
# finds everything built. (Evaluated when used, after `deps-run`.)
include packaging/hardening.mk
BUILDFLAGS = DEB_BUILD_MAINT_OPTIONS="$(DEB_BUILD_MAINT_OPTIONS)" \
  DEB_CFLAGS_MAINT_APPEND="$(DEB_CFLAGS_MAINT_APPEND)" \
  DEB_CXXFLAGS_MAINT_APPEND="$(DEB_CXXFLAGS_MAINT_APPEND)" dpkg-buildflags --get
RELEASE_FLAGS = \
  "-DCMAKE_C_FLAGS=$(shell $(BUILDFLAGS) CPPFLAGS) $(shell $(BUILDFLAGS) CFLAGS)" \
  "-DCMAKE_CXX_FLAGS=$(shell $(BUILDFLAGS) CPPFLAGS) $(shell $(BUILDFLAGS) CXXFLAGS)" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(shell $(BUILDFLAGS) LDFLAGS)"

# Every set; the commands below each install only their own, as a
# prerequisite, so that what a recipe asks of the system when it is read
# (dpkg-buildflags, node) is there by then.
DEPS := scripts/install-deps.sh
deps:
	@$(DEPS)
deps-run:
	@$(DEPS) run
deps-test:
	@$(DEPS) test
deps-release:
	@$(DEPS) release

# Configuring again each time is cheap and picks up changed options
# (make bench turns the benchmarks on in the same build folder).
build: deps-run
	cmake -S . -B $(RUN_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DPAGORO_BENCH=$(BENCH) \
	  $(RELEASE_FLAGS) >/dev/null
	cmake --build $(RUN_DIR) -j $(JOBS)

# The end-to-end tests run one at a time (RUN_SERIAL) on a private display.
# No test is retried: a test waits for a sign of what it expects, with a
# bound, so a failure means something.
TEST_CONFIG := -DCMAKE_BUILD_TYPE=Debug -DPAGORO_SANITIZE=ON -DPAGORO_WERROR=ON -DPAGORO_BENCH=OFF
test: deps-test
	cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) $(TEST_CONFIG) >/dev/null
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 900 -LE bench

# clang-tidy (.clang-tidy) and cppcheck over all of our C++ but the tests,
# with the test build's compile commands; any finding fails. In the Qt code
# (player, app) the analyzer's leak check is off: Qt objects belong to their
# parents, which it cannot see, so it reports every one of them.
QT_LINT_SOURCES := $(filter-out %_test.cpp,$(wildcard player/*.cpp app/*.cpp translations/*.cpp))
LINT_SOURCES := $(filter-out %_test.cpp,$(wildcard book/*.cpp core/*.cpp swf/*.cpp tools/*/*.cpp)) $(QT_LINT_SOURCES)
#
# Then shellcheck (.shellcheckrc) over every tracked shell script, and ESLint
# (eslint.config.js, pinned in package-lock.json) over the player page's
# scripts.
SHELL_SCRIPTS = $(shell git ls-files '*.sh' .ci/run)
lint: deps-test lint-shell lint-js
	cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) $(TEST_CONFIG) >/dev/null
	printf '%s\n' $(filter-out $(QT_LINT_SOURCES),$(LINT_SOURCES)) | \
	  xargs -P $(JOBS) -n 4 clang-tidy -p $(TEST_DIR) --quiet
	printf '%s\n' $(QT_LINT_SOURCES) | xargs -P $(JOBS) -n 4 clang-tidy -p $(TEST_DIR) --quiet \
	  --checks=-clang-analyzer-cplusplus.NewDeleteLeaks
	cppcheck --std=c++20 --enable=warning,style,performance,portability --error-exitcode=1 \
	  --quiet --inline-suppr --suppress=missingIncludeSystem --suppress=useStlAlgorithm \
	  --library=qt -I . $(LINT_SOURCES)

lint-shell: deps-test
	shellcheck -x $(SHELL_SCRIPTS)

lint-js: deps-test
	node_modules/.bin/eslint --max-warnings 0 player/*.js eslint.config.js

# The catalogues of the programs' texts (translations/*.ts): `translations`
# brings them up to date with the sources (then translate what is marked
# unfinished); `translations-check` fails on a text the catalogues lack, an
# unfinished or obsolete entry, a lost placeholder, or a literal text shown
# to users outside tr.
translations:
	scripts/update-translations.sh

translations-check: deps-test
	scripts/translations-check.sh

# The whole tree follows .clang-format.
format-check:
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

run: build
	@scripts/run-sample.sh $(RUN_DIR)

# The fuzz targets, built with clang; `make fuzz` runs each a minute,
# `make fuzz-replay` (in CI) runs each over its seeds and then a few seconds.
FUZZ_SECONDS ?= 5
fuzz-build: deps-test
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	  "-DCMAKE_C_FLAGS_DEBUG=-O1 -g" "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g" -DPAGORO_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS)

fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ_DIR) 60

fuzz-replay: fuzz-build
	scripts/fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The benchmarks: bench/compare.sh on the run build, then the player's
# timings and rates (the tests labelled bench in the test build, which
# `make test` leaves out: they fail on a busy machine by design).
bench: BENCH = ON
bench: build deps-test
	bench/compare.sh $(RUN_DIR)
	cmake -S . -B $(TEST_DIR) $(CMAKE_GEN) $(TEST_CONFIG) >/dev/null
	cmake --build $(TEST_DIR) -j $(JOBS) --target pagoro_player_e2e_tests
	cd $(TEST_DIR) && ctest --output-on-failure -L bench

# 150 drops and 150 starts on a private display, reporting descriptors,
# threads, files and memory every 10 steps (about half an hour; not in
# `test`). An optimized build of its own: the test programs are in it.
SOAK_DIR := build/soak
soak: deps-test
	cmake -S . -B $(SOAK_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAGORO_BENCH=OFF >/dev/null
	cmake --build $(SOAK_DIR) -j $(JOBS) --target pagoro pagoro-book pagoro-remote-movie pagoro-drag-source
	nice tests/with-display.sh -- tests/soak/soak.sh $(SOAK_DIR)

install: build
	cmake --install $(RUN_DIR) --prefix $(PREFIX)

# The Debian package of the run build: build/release/pagoro_<version>_amd64.deb.
deb: build deps-release
	cd $(RUN_DIR) && cpack -G DEB

# The source package's tarballs in build/dist: pagoro_VERSION.orig.tar.xz
# (the files git tracks in this tree, as they are in it, and no untracked
# one; debian/ and the fuzzers' seed corpora, made by our movie and book
# writers and not needed to build, left out) and its Ruffle
# component pagoro_VERSION.orig-ruffle.tar.gz, the npm package that
# package-lock.json pins, checked against the lock's hash.
DIST_DIR := build/dist
RUFFLE_VERSION = $(shell node -p 'require("./package-lock.json").packages["node_modules/@ruffle-rs/ruffle"].version')
RUFFLE_INTEGRITY = $(shell node -p 'require("./package-lock.json").packages["node_modules/@ruffle-rs/ruffle"].integrity')
dist: deps-release
	@[ "$$(dpkg-parsechangelog -S Version | sed 's/-[^-]*$$//')" = "$(VERSION)" ] || \
	  { echo "dist: debian/changelog is not at version $(VERSION)" >&2; exit 1; }
	rm -rf $(DIST_DIR) && mkdir -p $(DIST_DIR)
	git ls-files -z --cached -- . ':!debian' ':(exclude)**/fuzz/*corpus/**' | \
	  tar --null -T - --sort=name --owner=0 --group=0 --numeric-owner \
	    --transform 's,^,pagoro-$(VERSION)/,' -cJf $(DIST_DIR)/pagoro_$(VERSION).orig.tar.xz
	cd $(DIST_DIR) && npm pack --silent @ruffle-rs/ruffle@$(RUFFLE_VERSION) >/dev/null
	[ "sha512-$$(openssl dgst -sha512 -binary $(DIST_DIR)/ruffle-rs-ruffle-$(RUFFLE_VERSION).tgz | base64 -w0)" = "$(RUFFLE_INTEGRITY)" ] || \
	  { echo "dist: Ruffle's npm package does not match package-lock.json" >&2; exit 1; }
	mv $(DIST_DIR)/ruffle-rs-ruffle-$(RUFFLE_VERSION).tgz $(DIST_DIR)/pagoro_$(VERSION).orig-ruffle.tar.gz

# The Debian source and binary packages from those tarballs, built offline
# (without a network where that can be arranged) in build/dist.
PACKAGE_TREE := $(DIST_DIR)/pagoro-$(VERSION)
package: dist
	tar -xJf $(DIST_DIR)/pagoro_$(VERSION).orig.tar.xz -C $(DIST_DIR)
	mkdir $(PACKAGE_TREE)/ruffle
	tar -xzf $(DIST_DIR)/pagoro_$(VERSION).orig-ruffle.tar.gz -C $(PACKAGE_TREE)/ruffle --strip-components=1
	cp -a debian $(PACKAGE_TREE)/
	cd $(PACKAGE_TREE) && scripts/offline.sh dpkg-buildpackage -us -uc

clean:
	rm -rf build
