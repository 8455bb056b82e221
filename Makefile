# `make run` installs what building and running need, builds the viewer and
# starts it.
# `make test` also installs what the tests need, builds the optimised and the
# sanitizer builds, and runs every test in both.
# `make package` builds a Debian package, inkpane_VERSION_ARCH.deb, here.
# `make bench` measures the decoder beside its peers and prints the figures.
# `make fuzz` fuzzes the decoder for FUZZ_MINUTES minutes (10 unless given).
BUILD := build
SANITIZE_BUILD := build-sanitize
FUZZ_BUILD := build-fuzz
PACKAGE_BUILD := build-package
FUZZ_MINUTES := 10
CTEST := ctest --output-on-failure --timeout 300 --parallel 2

.PHONY: deps run-deps build run test package bench fuzz clean

deps:
	@tools/install-deps

run-deps:
	@tools/install-deps run

# A build first configured by `make run`, without the tests, is configured
# again with them.
build: deps
	@grep -qx 'BUILD_TESTING:BOOL=ON' $(BUILD)/CMakeCache.txt 2>/dev/null || \
	  cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON
	@grep -qx 'BUILD_TESTING:BOOL=ON' $(SANITIZE_BUILD)/CMakeCache.txt 2>/dev/null || \
	  cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DINKPANE_SANITIZE=ON -DBUILD_TESTING=ON
	cmake --build $(BUILD)
	cmake --build $(SANITIZE_BUILD)

# Without a graphical session the viewer says so and ends with status 1; this
# adds how to give it a virtual screen.
run: run-deps
	@[ -f $(BUILD)/CMakeCache.txt ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(BUILD) --target inkpane
	@$(BUILD)/inkpane || { status=$$?; [ $$status -ne 1 ] || \
	  echo "Without a screen (over ssh, in CI), xvfb-run gives it a virtual one: xvfb-run -a $(BUILD)/inkpane" >&2; \
	  exit $$status; }

test: build
	$(CTEST) --test-dir $(SANITIZE_BUILD)
	$(CTEST) --test-dir $(BUILD)

package:
	@tools/install-deps package
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(PACKAGE_BUILD)
	cd $(PACKAGE_BUILD) && cpack -G DEB -D CPACK_OUTPUT_FILE_PREFIX=$(CURDIR)

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
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD)
