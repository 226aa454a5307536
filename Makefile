# Kavrel: a thin wrapper around CMake and Ninja. See README.md.

# The Debian 12 packages the build, the tests and the benchmark need. Add to this list.
DEB_PACKAGES := cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev \
                libbenchmark-dev faketime xvfb xauth imagemagick fonts-dejavu-core dpkg-dev poppler-utils \
                qt6-translations-l10n locales qt6-svg-dev \
                cups printer-driver-cups-pdf libcups2-dev \
                qt6-image-formats-plugins libcfitsio-dev pkg-config liberfa-dev ccache \
                dbus at-spi2-core python3-gi gir1.2-atspi-2.0

# libspng, the PNG photographs' reader.
DEB_PACKAGES += libspng-dev

# SQLite, in which the observer's log is kept.
DEB_PACKAGES += libsqlite3-dev

# PostgreSQL: libpq for a network's shared base; the server and pg_virtualenv for its tests.
DEB_PACKAGES += postgresql postgresql-common libpq-dev

BUILD_DIR := build
ASAN_DIR  := build-asan
CLANG_DIR := build-clang
JOBS      := 2

# apt-get needs root; use sudo when run by another user.
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

# The tests open their windows off screen unless told otherwise.
TEST_ENV := QT_QPA_PLATFORM=$${QT_QPA_PLATFORM:-offscreen}

# The project's own builds treat every warning as an error. A compiler cache, where there
# is one, spares compiling again what an earlier build on this machine compiled.
CMAKE_CONFIGURE := cmake -S . -G Ninja -DKAVREL_WERROR=ON \
                   $(shell command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# The Release build with clang (`make clang`).
CLANG_PACKAGES := clang

# What scripts/screenshots needs besides: a window manager and X tools.
SCREENSHOT_PACKAGES := openbox xdotool x11-utils

# The fuzzers (clang's libFuzzer; CFITSIO and libspng for the image readers' targets,
# ERFA for the header geometry's) and the check of the Debian package.
FUZZ_PACKAGES := clang libclang-rt-14-dev libcfitsio-dev libspng-dev liberfa-dev pkg-config libsqlite3-dev
PACKAGE_CHECK_PACKAGES := desktop-file-utils appstream openbox xdotool x11-utils lintian

# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS := 20

.PHONY: deps install-packages build test run bench asan clang clean screenshots fuzz package package-check

# Installs only what is missing, and refreshes the package lists only then.
# The French locale, in which a test starts the programs, is generated when missing.
deps:
	@$(MAKE) --no-print-directory install-packages PACKAGES="$(DEB_PACKAGES)"
	@locale -a 2>/dev/null | grep -qix 'fr_FR.utf8' || { \
	  echo "Generating fr_FR.UTF-8"; \
	  grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || \
	    echo 'fr_FR.UTF-8 UTF-8' | $(SUDO) tee -a /etc/locale.gen >/dev/null; \
	  $(SUDO) locale-gen; }

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
	$(CMAKE_CONFIGURE) -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
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

# The benchmarks are off in a plain build; this turns them on in the build directory.
bench: deps
	$(CMAKE_CONFIGURE) -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVREL_BENCH=ON
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kavrel_bench kavrel_disque_bench kavrel_synoptic_bench kavrel_image_bench kavrel_photo_view_bench kavrel_journal_bench kavrel_journal_charts_bench kavrel_groups_bench kavrel_reseau_bench kavrel_reseau_base_bench
	$(BUILD_DIR)/bench/kavrel_bench
	$(BUILD_DIR)/bench/kavrel_disque_bench
	$(BUILD_DIR)/bench/kavrel_synoptic_bench
	$(BUILD_DIR)/bench/kavrel_image_bench
	$(BUILD_DIR)/bench/kavrel_photo_view_bench
	$(BUILD_DIR)/bench/kavrel_journal_bench
	$(BUILD_DIR)/bench/kavrel_journal_charts_bench
	$(BUILD_DIR)/bench/kavrel_groups_bench
	$(BUILD_DIR)/bench/kavrel_reseau_bench
	$(BUILD_DIR)/bench/kavrel_reseau_base_bench
	pg_virtualenv $(BUILD_DIR)/bench/kavrel_reseau_base_bench --benchmark_filter=PostgreSQL

# AddressSanitizer and UndefinedBehaviorSanitizer, without the benchmarks.
asan: deps
	$(CMAKE_CONFIGURE) -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DKAVREL_SANITIZE=ON
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && $(TEST_ENV) ctest --output-on-failure -j$(JOBS)

# The optimised build with the other compiler, and its tests: both compilers stay free
# of warnings.
clang: deps
	@$(MAKE) --no-print-directory install-packages PACKAGES="$(CLANG_PACKAGES)"
	CC=clang CXX=clang++ $(CMAKE_CONFIGURE) -B $(CLANG_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(CLANG_DIR) -j $(JOBS)
	cd $(CLANG_DIR) && $(TEST_ENV) ctest --output-on-failure -j$(JOBS)

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
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(CLANG_DIR)
