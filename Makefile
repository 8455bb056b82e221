# `make run` installs what building and running need, builds the viewer and
# starts it.
# `make test` also installs what the tests need, builds the optimised and the
# sanitizer builds and the Windows build, and runs every test in all three,
# the Windows ones under Wine.
# `make windows` cross-builds the Windows programs into build-windows/ and
# writes the Windows zip and installer, inkpane-VERSION-win64.zip and
# inkpane-VERSION-setup.exe, here.
# `make package` builds a Debian package, inkpane_VERSION_ARCH.deb, here.
# `make bench` measures the decoder beside its peers and prints the figures.
# `make fuzz` fuzzes the decoder for FUZZ_MINUTES minutes (10 unless given).
BUILD := build
SANITIZE_BUILD := build-sanitize
FUZZ_BUILD := build-fuzz
PACKAGE_BUILD := build-package
WINDOWS_BUILD := build-windows
FUZZ_MINUTES := 10
CTEST := ctest --output-on-failure --timeout 300 --parallel 2

# Every file time in the package, the zip and the installer is the time of the
# last commit, so that the same commit builds the same bytes (see
# tools/check-reproducible). CPack gives the package's folders, and the parts
# of the .deb, the modes the umask leaves: `make package` packs with umask 022.
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif

.PHONY: deps run-deps build windows-build run test test-sanitize test-optimised test-windows windows package bench fuzz clean

deps:
	@tools/install-deps

run-deps:
	@tools/install-deps run

# A build first configured by `make run`, without the tests, is configured
# again with them.
build: deps
	@grep -qx 'BUILD_TESTING:BOOL=ON' $(BUILD)/CMakeCache.txt 2>/dev/null || \
	  cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DINKPANE_HARDEN=ON
	@grep -qx 'BUILD_TESTING:BOOL=ON' $(SANITIZE_BUILD)/CMakeCache.txt 2>/dev/null || \
	  cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DINKPANE_SANITIZE=ON -DBUILD_TESTING=ON
	cmake --build $(BUILD)
	cmake --build $(SANITIZE_BUILD)
	@$(MAKE) --no-print-directory windows-build

# The Windows GUI tests run host programs of the Linux build, such as its X
# probe.
windows-build:
	@[ -f $(WINDOWS_BUILD)/CMakeCache.txt ] || \
	  cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=Release -DINKPANE_HOST_BUILD=$(CURDIR)/$(BUILD)
	cmake --build $(WINDOWS_BUILD)
	cmake --build $(WINDOWS_BUILD) --target windows_release

# Without a graphical session the viewer says so and ends with status 1; this
# adds how to give it a virtual screen.
run: run-deps
	@[ -f $(BUILD)/CMakeCache.txt ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(BUILD) --target inkpane
	@$(BUILD)/inkpane || { status=$$?; [ $$status -ne 1 ] || \
	  echo "Without a screen (over ssh, in CI), xvfb-run gives it a virtual one: xvfb-run -a $(BUILD)/inkpane" >&2; \
	  exit $$status; }

# The three builds' tests run side by side: most of their time the real-window
# tests wait on what the screen shows, and the machine has room for more.
# Each build's output is shown whole once its tests are done.
test: build
	@$(MAKE) --no-print-directory -j3 --output-sync=target test-sanitize test-optimised test-windows

test-sanitize:
	$(CTEST) --test-dir $(SANITIZE_BUILD)

test-optimised:
	$(CTEST) --test-dir $(BUILD)

test-windows:
	$(CTEST) --test-dir $(WINDOWS_BUILD)

windows:
	@tools/install-deps windows
	@$(MAKE) --no-print-directory windows-build

package:
	@tools/install-deps package
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DINKPANE_HARDEN=ON
	cmake --build $(PACKAGE_BUILD)
	cd $(PACKAGE_BUILD) && umask 022 && cpack -G DEB -D CPACK_OUTPUT_FILE_PREFIX=$(CURDIR)

bench: deps
	@tools/install-deps bench
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DINKPANE_BENCH=ON
	cmake --build $(BUILD) --target inkpane-bench inkpane-render inkpane-window-bench
	bench/run $(BUILD)

fuzz: deps
	@tools/install-deps fuzz
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DINKPANE_FUZZ=ON
	cmake --build $(FUZZ_BUILD) --target inkpane-fuzz
	tests/fuzz/run $(FUZZ_BUILD) $(FUZZ_MINUTES)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD) $(WINDOWS_BUILD)
