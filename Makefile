# Kavrel: a thin wrapper around CMake and Ninja. See README.md.

# The Debian 12 packages the build, the tests and the benchmark need. Add to this list.
DEB_PACKAGES := cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev \
                libbenchmark-dev faketime xvfb xauth imagemagick fonts-dejavu-core dpkg-dev poppler-utils \
                qt6-translations-l10n cups printer-driver-cups-pdf libcups2-dev

BUILD_DIR := build
ASAN_DIR  := build-asan
JOBS      := 2

# apt-get needs root; use sudo when run by another user.
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

# The tests open their windows off screen unless told otherwise.
TEST_ENV := QT_QPA_PLATFORM=$${QT_QPA_PLATFORM:-offscreen}

# What scripts/screenshots needs besides: a window manager and X tools.
SCREENSHOT_PACKAGES := openbox xdotool x11-utils

# The fuzzers (clang's libFuzzer) and the check of the Debian package.
FUZZ_PACKAGES := clang libclang-rt-14-dev
PACKAGE_CHECK_PACKAGES := desktop-file-utils appstream openbox xdotool x11-utils

# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS := 20

.PHONY: deps install-packages build test run bench asan clean screenshots fuzz package package-check

# Installs only what is missing, and refreshes the package lists only then.
deps:
	@$(MAKE) --no-print-directory install-packages PACKAGES="$(DEB_PACKAGES)"

install-packages:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' "$$p" 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	else \
	  echo "All packages present."; \
	fi

build:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: deps build
	cd $(BUILD_DIR) && $(TEST_ENV) ctest --output-on-failure -j$(JOBS)

# The solar-aspect window where a display is available; otherwise (or before the
# window exists) its report from the kavrel command.
run: deps build
	@if [ -x $(BUILD_DIR)/programs/dalvoren/Dalvoren ] && [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	  $(BUILD_DIR)/programs/dalvoren/Dalvoren; \
	else \
	  [ -x $(BUILD_DIR)/programs/dalvoren/Dalvoren ] && echo "(no display: the report of the window instead)"; \
	  $(BUILD_DIR)/cli/kavrel soleil; \
	fi

bench: build
	$(BUILD_DIR)/bench/kavrel_bench

# AddressSanitizer and UndefinedBehaviorSanitizer, without the benchmarks.
asan: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVREL_SANITIZE=ON -DKAVREL_BENCH=OFF
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && $(TEST_ENV) ctest --output-on-failure -j$(JOBS)

# One PNG per window into docs/screenshots/, the clock fixed and the locale French.
screenshots: deps build
	@$(MAKE) --no-print-directory install-packages PACKAGES="$(SCREENSHOT_PACKAGES)"
	scripts/screenshots docs/screenshots $(BUILD_DIR)

# Builds every fuzz target (with AddressSanitizer and UndefinedBehaviorSanitizer) and runs
# each for FUZZ_SECONDS seconds on its seed corpus.
fuzz:
	@$(MAKE) --no-print-directory install-packages PACKAGES="$(FUZZ_PACKAGES)"
	scripts/fuzz $(FUZZ_SECONDS)

# The Debian package of the suite, built by CPack into build/.
package: deps build
	cd $(BUILD_DIR) && cpack -G DEB

# Installs the package with apt, checks that every program starts and that the kavrel
# command answers, validates the desktop files and the metainfo, then removes it.
package-check: package
	@$(MAKE) --no-print-directory install-packages PACKAGES="$(PACKAGE_CHECK_PACKAGES)"
	scripts/check-package $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR)
