# `make run` installs what is missing, builds the viewer and starts it.
# `make test` installs what is missing, builds the optimised and the sanitizer
# builds, and runs every test in both.
BUILD := build
SANITIZE_BUILD := build-sanitize
CTEST := ctest --output-on-failure --timeout 300

.PHONY: deps build run test clean

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

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
