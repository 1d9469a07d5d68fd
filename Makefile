# Fourfall: `make run` opens the game, `make test` runs every test.
# Both install whatever Debian packages are missing first.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
WERROR     ?= $(if $(CI),ON,OFF)
CMAKE_ARGS ?=

# lintian, appstream, dpkg-dev and file: the package test (package_deb_lintian_appstream);
# libxcb1-dev: the skinned frame hands window moves to X11 window managers.
DEBS := cmake ninja-build g++ make pkg-config qt6-base-dev libgl-dev \
        libgtest-dev libgmock-dev libbenchmark-dev clang-format clang-tidy fonts-liberation2 \
        fonts-dejavu-extra lintian appstream dpkg-dev file libxcb1-dev

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: all deps configure build test test-fast bench run clean

all: build

# Installs only what is missing, and runs apt-get update only then.
deps:
	@missing=""; \
	for p in $(DEBS); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing packages:$$missing"; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DFOURFALL_WERROR=$(WERROR) $(CMAKE_ARGS)

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOURFALL_WERROR=$(WERROR) \
	  -DFOURFALL_SANITIZE=ON $(CMAKE_ARGS)

configure: $(BUILD)/build.ninja

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# Under the sanitizers a leak fails the run; tests/lsan.supp names the one
# leak of a system library that is not ours to fix.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1

# The whole suite in the release build, then again under ASan and UBSan.
test: build $(ASAN_BUILD)/build.ninja
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# clang-tidy with the checks in .clang-tidy over the program's sources; CI
# runs the same check as the ctest case tidy_check.
.PHONY: tidy
tidy: build
	cmake -DRUN_CLANG_TIDY=run-clang-tidy -DBUILD_DIR=$(CURDIR)/$(BUILD) -DSOURCE_DIR=$(CURDIR) \
	  -DJOBS=$(JOBS) -P tests/tidy/check_tidy.cmake

# The release build's tests only, for a quick check while working.
test-fast: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Opens the game from the repository root, where it finds images/. Builds only
# the game and what it links, not the tests and tools.
run: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target fourfall
	./$(BUILD)/ui/fourfall

bench: build
	$(BUILD)/tools/analyze/fourfall-analyze --bench

# The engine's speed against an earlier commit's, alternating runs:
# make bench-compare BASE=<commit> [ROUNDS=5]
BASE   ?=
ROUNDS ?= 5
.PHONY: bench-compare
bench-compare: deps
	@test -n "$(BASE)" || { echo "usage: make bench-compare BASE=<commit> [ROUNDS=5]"; exit 2; }
	bench/compare.sh $(BASE) $(BUILD) $(ROUNDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# The Debian package, copied to this folder: apt-get install ./fourfall_*.deb
.PHONY: package install icons
package: build
	rm -f $(BUILD)/fourfall_*.deb fourfall_*.deb
	cd $(BUILD) && cpack -G DEB
	cp $(BUILD)/fourfall_*.deb .

install: build
	$(SUDO) cmake --install $(BUILD)

# The package's checks by themselves: lintian and appstreamcli on a fresh .deb.
.PHONY: lint-package
lint-package: build
	cd $(BUILD) && ctest --output-on-failure -R '^package_'

# Redraws the screenshots kept under packaging/screenshots/ with the project's
# own screenshot script.
.PHONY: screenshots
screenshots: deps $(BUILD)/build.ninja
	@$(MAKE) --no-print-directory deps DEBS="xvfb xdotool imagemagick"
	cmake --build $(BUILD) -j $(JOBS) --target fourfall
	CAPTURE=window tools/screenshot.sh packaging/screenshots/fourfall-game.png $(BUILD)/ui/fourfall

# Checks a developer runs by hand: the frame under real window managers on a
# private X server, and the game under a headless Wayland compositor. Each
# leaves its screenshots in $(CHECK_OUT).
CHECK_OUT ?= $(BUILD)/desktop-checks
.PHONY: wm-check wayland-check
wm-check: deps $(BUILD)/build.ninja
	@$(MAKE) --no-print-directory deps DEBS="xvfb xdotool x11-utils wmctrl imagemagick openbox xfwm4 dbus-daemon"
	cmake --build $(BUILD) -j $(JOBS) --target fourfall
	tools/wm_check.sh $(BUILD)/ui/fourfall $(CHECK_OUT)
wayland-check: deps $(BUILD)/build.ninja
	@$(MAKE) --no-print-directory deps DEBS="weston qt6-wayland"
	cmake --build $(BUILD) -j $(JOBS) --target fourfall
	tools/wayland_check.sh $(BUILD)/ui/fourfall $(CHECK_OUT)

# Redraws the icons kept under packaging/icons/.
icons: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) --target fourfall-icongen
	$(BUILD)/tools/icongen/fourfall-icongen packaging/icons

# Redraws the board images kept under images/.
.PHONY: images
images: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) --target fourfall-imagegen
	$(BUILD)/tools/imagegen/fourfall-imagegen images

# Fuzzes the BMP decoder, bitmap loading and the analyzer's input with
# libFuzzer under ASan and UBSan for FUZZ_SECONDS per target. New inputs and
# findings stay in $(FUZZ_BUILD)/fuzz/<target>/; the committed corpus is only
# read.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz: deps
	@$(MAKE) --no-print-directory deps DEBS="clang-14 libclang-rt-14-dev"
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOURFALL_SANITIZE=ON -DFOURFALL_FUZZ=ON $(CMAKE_ARGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fourfall_fuzzers
	tests/fuzz/run_fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Soaks the main window under ASan and UBSan: SOAK_STEPS random user actions
# for each of the default seeds, or for SOAK_SEED alone when it is given.
SOAK_STEPS ?= 50000
SOAK_SEED  ?=
.PHONY: soak
soak: $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target ui_soak_tests
	QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) \
	  FOURFALL_SOAK_STEPS=$(SOAK_STEPS) FOURFALL_SOAK_SEED=$(SOAK_SEED) \
	  $(ASAN_BUILD)/tests/ui_soak_tests

# Times fourfall-analyze --solve on a seeded random set of SOLVE_COUNT
# positions for each of 8, 12 and 16 stones: median and maximum per count.
SOLVE_COUNT ?= 100
SOLVE_SEED  ?= 1
.PHONY: solve-bench
solve-bench: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) --target fourfall-analyze
	tools/analyze/solve_timing.py $(BUILD)/tools/analyze/fourfall-analyze \
	  --stones 8 12 16 --count $(SOLVE_COUNT) --seed $(SOLVE_SEED)
