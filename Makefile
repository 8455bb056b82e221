# `make run` installs what is missing, builds the viewer and starts it.
# `make test` installs what is missing, builds the optimised and the sanitizer
# builds, and runs every test in both.
# `make bench` measures the decoder beside its peers and prints the figures.
# `make fuzz` fuzzes the decoder for FUZZ_MINUTES minutes (10 unless given).
BUILD := build
SANITIZE_BUILD := build-sanitize
FUZZ_BUILD := build-fuzz
FUZZ_MINUTES := 10
CTEST := ctest --output-on-failure --timeout 300 --parallel 2

.PHONY: deps build run test bench fuzz clean

deps:
	@tools/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

$(SANITIZE_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DINKPANE_SANITIZE=ON

build: deps $(BUILD)/CMakeCache.txt $(SANITIZE_BUILD)/CMakeCache.txt
	cmake --build $(BUILD)
	cmake --build $(SANITIZE_BUILD)

# Without a display Qt would abort with a long message; say what to do instead.
run: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) --target inkpane
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display to show the window on; without one, run: xvfb-run -a $(BUILD)/inkpane" >&2; \
	  exit 1; \
	fi
	$(BUILD)/inkpane

test: build
	$(CTEST) --test-dir $(SANITIZE_BUILD)
	$(CTEST) --test-dir $(BUILD)

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
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
