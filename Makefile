# Everything a newcomer needs on a fresh Debian or Ubuntu machine:
#   make run   - install missing packages, build, start the game
#   make test  - the same set-up, then every test in a normal and a sanitizer build
#   make serve - the high-score server on 127.0.0.1:$(SERVE_PORT), with the game built to submit to it
.PHONY: all deps build build-asan run test test-release test-asan bench clean serve soak-server install soak fuzz start-loop

RUN_DIR := run
SERVE_PORT ?= 8080
# Where the game submits its high scores; `make build HIGHSCORE_ENDPOINT=URL`
# changes it (it stays in build/ until changed again).
HIGHSCORE_ENDPOINT ?=
# `make install PREFIX=/usr DESTDIR=stage`: the game looks for its archive
# under PREFIX, so changing it rebuilds the game.
PREFIX ?= /usr/local
DESTDIR ?=

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake --preset release $(if $(HIGHSCORE_ENDPOINT),-DVYRN_HIGHSCORE_ENDPOINT=$(HIGHSCORE_ENDPOINT))
	cmake --build --preset release

build-asan: deps
	cmake --preset asan
	cmake --build --preset asan

run: build
	mkdir -p $(RUN_DIR)
	cp build/game.pak $(RUN_DIR)/game.pak
	cd $(RUN_DIR) && ../build/vyrn

install: deps
	cmake --preset release -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build --preset release --target vyrn game_pak vyrn_icons
	DESTDIR=$(DESTDIR) cmake --install build

test-release: build
	ctest --preset release

# The sanitizer build has no asset tools: its tests read the release build's
# game.pak, so the release build comes first.
test-asan: build build-asan
	ctest --preset asan

test: test-release test-asan

# The game in build/ now submits to this server: `make run` in a second
# terminal plays against it. Ctrl-C stops the server.
serve:
	$(MAKE) build HIGHSCORE_ENDPOINT=http://127.0.0.1:$(SERVE_PORT)
	mkdir -p $(RUN_DIR)
	@echo "Leaderboard: http://127.0.0.1:$(SERVE_PORT)/  (back to the public server: make build HIGHSCORE_ENDPOINT=http://hiscores.vyrn-rekindled.net)"
	build/server/vyrn-scores --db $(RUN_DIR)/scores.db --port $(SERVE_PORT) --pak build/game.pak

# The game started STARTS times on a private X display, each start checked for
# its window within START_TIMEOUT seconds; LOAD_JOBS busy loops crowd the CPU
# meanwhile, WM=openbox adds a window manager. A stall leaves the state of
# every thread in a report (with gdb where installed).
STARTS ?= 100
LOAD_JOBS ?= 2
START_TIMEOUT ?= 10
start-loop: build
	STARTS=$(STARTS) LOAD_JOBS=$(LOAD_JOBS) START_TIMEOUT=$(START_TIMEOUT) bash scripts/start-loop.sh build/vyrn build/game.pak

# The server's load and SIGKILL tests at full size: 8 clients, 20,000 submissions;
# and 64 slow plus 3,000 idle connections against an honest client for 20 s.
soak-server: build
	VYRN_SOAK_SUBMISSIONS=20000 VYRN_SOAK_SLOW=64 VYRN_SOAK_IDLE=3000 VYRN_SOAK_SECONDS=20 build/server/tests/test_server_load

bench: build
	cmake --build --preset release --target benchmarks
	@for b in build/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf build build-asan build-debug

# The bot's soak at full size (a million game ticks) in the sanitizer build.
# The sanitizer build draws no archive: it plays the release build's.
soak: build build-asan
	bash scripts/soak.sh build-asan/tools/sim/vyrn-sim build/game.pak 1000000

# libFuzzer targets in build-fuzz/ (needs clang); run one with e.g.
# build-fuzz/fuzz/fuzz_replay tests/fuzz/corpus/replay -max_total_time=600
fuzz:
	@command -v clang++ >/dev/null || { echo "make fuzz needs clang (apt-get install clang)"; exit 1; }
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVYRN_FUZZ=ON -DVYRN_BUILD_TESTS=OFF -DVYRN_BUILD_BENCH=OFF
	cmake --build build-fuzz -j2 --target fuzz_all
