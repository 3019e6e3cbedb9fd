# Thin wrapper around CMake: `make run` to play, `make test` to run every test.
BUILD ?= build
CMAKE_ARGS ?=
JOBS ?= 2
# The build's own make runs below this one and would announce every folder it
# enters; MAKEFLAGS carries the silence down to it.
MAKEFLAGS += --no-print-directory

.PHONY: all configure build run test clean

all: build

# Configures on first use, and again whenever CMAKE_ARGS are given, so that
# they always reach CMake, also in a build folder configured before.
configure:
	@if [ -n "$(strip $(CMAKE_ARGS))" ] || [ ! -f "$(BUILD)/CMakeCache.txt" ]; then \
	  cmake -S . -B "$(BUILD)" $(CMAKE_ARGS); \
	fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Playing needs only the game, not the test suite. The game's own first
# line is the first the player sees: its command is not echoed.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target vaelmoor
	@"$(BUILD)/vaelmoor"

# A run that finds no test at all fails: a test filtered away or never
# registered must not pass in silence.
test: build
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS)

clean:
	rm -rf $(BUILD)
