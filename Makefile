# Thin wrapper around CMake: `make run` to play, `make test` to run every test.
BUILD ?= build
CMAKE_ARGS ?=
JOBS ?= 2

.PHONY: all build run test clean

all: build

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_ARGS)

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# Playing needs only the game, not the test suite.
run: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target vaelmoor
	./$(BUILD)/vaelmoor

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
