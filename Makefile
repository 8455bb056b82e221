# `make test` installs what is missing, builds the optimised and the sanitizer
# builds, and runs every test in both.
BUILD := build
SANITIZE_BUILD := build-sanitize
CTEST := ctest --output-on-failure --timeout 300

.PHONY: deps build test clean

deps:
	@tools/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

$(SANITIZE_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DINKPANE_SANITIZE=ON

build: deps $(BUILD)/CMakeCache.txt $(SANITIZE_BUILD)/CMakeCache.txt
	cmake --build $(BUILD)
	cmake --build $(SANITIZE_BUILD)

test: build
	$(CTEST) --test-dir $(SANITIZE_BUILD)
	$(CTEST) --test-dir $(BUILD)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
