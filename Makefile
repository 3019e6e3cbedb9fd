# Thin wrapper around CMake: `make run` to play, `make test` to run every test.
BUILD ?= build
CMAKE_ARGS ?=
JOBS ?= 2
# The build's own make runs below this one and would announce every folder it
# enters; MAKEFLAGS carries the silence down to it.
MAKEFLAGS += --no-print-directory

.PHONY: all configure build run test clean web serve-web

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

# The game in a browser page, and under node (README: "Play in a browser").
# emscripten runs its tools under node, which finds Debian's modules for
# them only when told where they are.
WEB_BUILD ?= build-web
WEB_PORT ?= 8080
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs
web:
	@if [ -n "$(strip $(CMAKE_ARGS))" ] || [ ! -f "$(WEB_BUILD)/CMakeCache.txt" ]; then \
	  $(EMSCRIPTEN_ENV) emcmake cmake -S . -B "$(WEB_BUILD)" -DVAELMOOR_TESTS=OFF \
	    -DCMAKE_BUILD_TYPE=MinSizeRel $(CMAKE_ARGS); \
	fi
	$(EMSCRIPTEN_ENV) cmake --build "$(WEB_BUILD)" -j $(JOBS)

serve-web: web
	@echo "Vaelmoor is served at http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops it)"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory "$(WEB_BUILD)/www"
