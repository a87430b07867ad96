# Ruvo: `make run` and `make test` set up a fresh Debian machine (as root) themselves.
NATIVE ?= build/native
TSAN   ?= build/native-tsan
WIN    ?= build/win
CLANG  ?= build/win-clang
BENCH  ?= build/bench
FUZZ_SMOKE ?= build/fuzz-smoke
JOBS   ?= $(shell nproc)
MAKEFLAGS += --no-print-directory
ARGS   ?=

.PHONY: all build setup native tsan win clang run test bench test-speed dist check-dist fuzz clean

all: build

setup:
	@tools/setup.sh

native:
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug -DRUVO_SANITIZE=ON >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS) --target core_tests

# The hashing threads under ThreadSanitizer: the core's, and the engine's queue built natively.
tsan:
	@cmake -S . -B $(TSAN) -DCMAKE_BUILD_TYPE=Debug -DRUVO_TSAN=ON >/dev/null
	@cmake --build $(TSAN) -j $(JOBS) --target core_tests engine_threads_tests

win: native tsan
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DRUVO_NATIVE_TESTS=$(abspath $(NATIVE))/bin/core_tests \
	  -DRUVO_TSAN_TESTS=$(abspath $(TSAN))/bin/core_tests \
	  -DRUVO_TSAN_ENGINE_TESTS=$(abspath $(TSAN))/bin/engine_threads_tests \
	  -DRUVO_FUZZ_SMOKE_DIR=$(abspath $(FUZZ_SMOKE)) >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

# The program and its tests with the second compiler, Clang for the same target: built, not run.
clang: win
	@cmake -S . -B $(CLANG) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-clang.cmake >/dev/null
	@cmake --build $(CLANG) -j $(JOBS)

build: win clang

run: setup win
	@tools/winenv show $(WIN)/wine $(WIN)/bin/ruvo.exe $(ARGS)

test: setup build
	@tools/run-tests $(WIN)

bench: setup win
	@cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DRUVO_TESTS=OFF >/dev/null
	@cmake --build $(BENCH) -j $(JOBS)
	@tools/run-bench $(BENCH) $(WIN)

# The release: dist/ruvo-VERSION-win64.zip, the same bytes from the same commit in any clone.
dist: setup
	@test -f $(WIN)/CMakeCache.txt || cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
	@tools/make-dist $(WIN)

# The zip's SHA256SUMS checked by sha256sum -c and by the zip's own ruvo.exe.
check-dist: dist
	@tools/check-dist $(WIN)

# How long `make test` takes on this tree and on a clean clone, against the goals.
test-speed: setup build
	@tools/test-speed

# Every fuzz target for 10 minutes, one after another; `tools/run-fuzz TARGET SECONDS` for others.
fuzz:
	@tools/run-fuzz

clean:
	rm -rf build dist
