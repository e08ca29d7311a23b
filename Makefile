# Quick start: `make run` plays the game, `make test` runs every test;
# `make run-terminal` plays it in this terminal.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD?= build-bench
FUZZ_BUILD ?= build-fuzz
SHARED_BUILD ?= build-shared
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc)
CMAKE_FLAGS?=
FUZZ_SECONDS ?= 60

# Tests that open windows need an X display: without one, run them under Xvfb.
XVFB := $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1280x1024x24")
CTEST_FLAGS := --output-on-failure -j $(JOBS) --timeout 300

.PHONY: all deps configure build run run-terminal install test test-asan test-shared bench fuzz golden clean

all: build

deps:
	@bash tools/deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DVK_WARNINGS_AS_ERRORS=$(if $(CI),ON,OFF) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	VESSIK_LOG_LEVEL=$${VESSIK_LOG_LEVEL:-1} ./$(BUILD)/game/swellrun

# no window: the game draws in the terminal, with or without an X display
run-terminal: build
	VESSIK_LOG_LEVEL=$${VESSIK_LOG_LEVEL:-1} ./$(BUILD)/game/swellrun --terminal

# The engine's library, headers, CMake package and pkg-config file.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

test: build
	$(XVFB) ctest --test-dir $(BUILD) $(CTEST_FLAGS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVK_SANITIZE=ON \
	    -DVK_WARNINGS_AS_ERRORS=$(if $(CI),ON,OFF) $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    $(XVFB) ctest --test-dir $(ASAN_BUILD) $(CTEST_FLAGS)

# The engine as a shared library: installed into a scratch prefix, where the
# examples are built against it and run (the static library gets the same
# check in `make test`).
test-shared: deps
	cmake -S . -B $(SHARED_BUILD) -DBUILD_SHARED_LIBS=ON -DVK_BUILD_TESTS=OFF \
	    -DVK_WARNINGS_AS_ERRORS=$(if $(CI),ON,OFF) $(CMAKE_FLAGS)
	cmake --build $(SHARED_BUILD) -j $(JOBS)
	bash tools/test-install.sh $(SHARED_BUILD) $(SHARED_BUILD)/install-test

# The fuzzers, built with clang, sanitizers and coverage; each runs for
# FUZZ_SECONDS: the sprite-file reader, the object record reader, then the
# replay record reader. New
# inputs they find go to $(FUZZ_BUILD)/corpus, crashes to
# $(FUZZ_BUILD)/artifacts; a run stops with a failure at its first finding.
# An object record is at most 4 KiB here, a replay record 64 KiB, and no
# single allocation may pass 16 MB.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVK_BUILD_TESTS=OFF \
	    -DVK_BUILD_FUZZ=ON -DVK_WARNINGS_AS_ERRORS=$(if $(CI),ON,OFF) $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target sprite_file_fuzz object_record_fuzz recording_fuzz
	mkdir -p $(FUZZ_BUILD)/corpus/sprite_file $(FUZZ_BUILD)/corpus/object_record $(FUZZ_BUILD)/corpus/recording \
	    $(FUZZ_BUILD)/artifacts
	$(FUZZ_BUILD)/fuzz/sprite_file_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=16384 -timeout=10 \
	    -print_final_stats=1 -dict=fuzz/sprite_file.dict -artifact_prefix=$(FUZZ_BUILD)/artifacts/ \
	    $(FUZZ_BUILD)/corpus/sprite_file fuzz/corpus/sprite_file
	$(FUZZ_BUILD)/fuzz/object_record_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -timeout=10 \
	    -malloc_limit_mb=16 -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/artifacts/ \
	    $(FUZZ_BUILD)/corpus/object_record fuzz/corpus/object_record
	$(FUZZ_BUILD)/fuzz/recording_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -timeout=10 \
	    -malloc_limit_mb=16 -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/artifacts/ \
	    $(FUZZ_BUILD)/corpus/recording fuzz/corpus/recording

# Re-makes the golden replays (tests/replays/*.vkr and the demo) from their
# scripted inputs, after a change to the rules that is meant; commit the result.
golden: build
	VK_RERECORD=1 ALSOFT_DRIVERS=null VK_SOURCE_DIR=$(CURDIR) ./$(BUILD)/tests/game_tests --gtest_filter='GoldenReplay.*'

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DVK_BUILD_TESTS=OFF -DVK_BUILD_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/*_bench; do echo "== $$b"; $$b || exit 1; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(SHARED_BUILD)
