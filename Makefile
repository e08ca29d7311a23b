# Quick start: `make run` plays the game, `make test` runs every test.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD?= build-bench
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
CMAKE_FLAGS?=

# Tests that open windows need an X display: without one, run them under Xvfb.
XVFB := $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1280x1024x24")
CTEST_FLAGS := --output-on-failure -j $(JOBS) --timeout 300

.PHONY: all deps configure build run test test-asan bench fuzz clean

all: build

deps:
	@bash tools/deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DVK_WARNINGS_AS_ERRORS=$(if $(CI),ON,OFF) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	VESSIK_LOG_LEVEL=$${VESSIK_LOG_LEVEL:-1} ./$(BUILD)/game/swellrun

test: build
	$(XVFB) ctest --test-dir $(BUILD) $(CTEST_FLAGS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVK_SANITIZE=ON \
	    -DVK_WARNINGS_AS_ERRORS=$(if $(CI),ON,OFF) $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    $(XVFB) ctest --test-dir $(ASAN_BUILD) $(CTEST_FLAGS)

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DVK_BUILD_TESTS=OFF -DVK_BUILD_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/*_bench; do echo "== $$b"; $$b || exit 1; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
