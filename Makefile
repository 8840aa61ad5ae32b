# Everything a newcomer needs on a fresh Debian or Ubuntu machine:
#   make run   - install missing packages, build, start the game
#   make test  - the same set-up, then every test in a normal and a sanitizer build
.PHONY: all deps build build-asan run test test-release test-asan bench clean

RUN_DIR := run

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake --preset release
	cmake --build --preset release

build-asan: deps
	cmake --preset asan
	cmake --build --preset asan

run: build
	mkdir -p $(RUN_DIR)
	cp build/game.pak $(RUN_DIR)/game.pak
	cd $(RUN_DIR) && ../build/vyrn

test-release: build
	ctest --preset release

# The sanitizer build has no asset tools: its tests read the release build's
# game.pak, so the release build comes first.
test-asan: build build-asan
	ctest --preset asan

test: test-release test-asan

bench: build
	@for b in build/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf build build-asan build-debug
