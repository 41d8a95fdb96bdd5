# Set-up and everyday commands. Each installs missing Debian packages first.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 10
PREFIX ?= /usr/local

.PHONY: all deps build run test test-asan bench fuzz format format-check clean install uninstall deb web web-deps web-serve web-test

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# Starts the game in the play folder, next to the shipped level packs.
run: build
	cd $(BUILD)/play && ./starquarry

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSQ_SANITIZE=ON -DSQ_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks starquarry sqtool sq_levels
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true
	@# The game itself under Xvfb on a shipped map: CPU per second of play, peak
	@# memory, start to window; beside Debian's epiphany-game when it is installed.
	NEIGHBOUR=$(wildcard /usr/games/epiphany-game) bash bench/play_cost.sh $(BUILD)/play
	@# The page (after make web): the loading picture and the splash, fast and on "Fast 3G".
	bash bench/page_load.sh $(BUILD) "$(WEB_OUT)"

# Installs the game, sqtool, the level packs, the launcher, the menu entry, the
# icons and the man pages under $(DESTDIR)$(PREFIX); uninstall removes exactly
# those and the folders the install created. Only what the install needs is built.
install: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target sq_installables
	DESTDIR="$(if $(DESTDIR),$(abspath $(DESTDIR)))" cmake --install $(BUILD) --prefix "$(PREFIX)"

uninstall:
	DESTDIR="$(if $(DESTDIR),$(abspath $(DESTDIR)))" cmake -D SQ_BUILD_DIR="$(abspath $(BUILD))" -D SQ_PREFIX="$(PREFIX)" -P cmake/uninstall.cmake

# The Debian package of the same install (prefix /usr), in $(BUILD)/deb/.
deb: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target sq_installables
	bash dist/make-deb.sh "$(BUILD)" "$(BUILD)/deb"

# The solver on every map of the shipped packs (SOLVE_SECONDS a map, 60 by
# default), its script lengths beside the hand-written ones; fails when a
# map is unsolvable or a hand-written script no longer completes its map.
SOLVE_SECONDS ?= 60
solve-check: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target sqtool starquarry sq_levels
	@status=0; for p in quarry_basics deep_shafts quarry_mix; do \
	  echo "== $$p"; \
	  $(BUILD)/play/sqtool pack check $(BUILD)/play/$$p.sq --solve --seconds $(SOLVE_SECONDS) \
	    --solutions levels/$$p || status=1; \
	done; exit $$status

# libFuzzer targets, built with clang, then each run for FUZZ_SECONDS from
# an empty corpus; the first that finds a fault stops make, its input kept
# in build-fuzz/. Run one longer by hand: build-fuzz/fuzz/fuzz_NAME -max_total_time=600.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSQ_FUZZ=ON -DSQ_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	  [ -x "$$f" ] || continue; \
	  n=$$(basename $$f); echo "$$n: $(FUZZ_SECONDS) s"; \
	  if ! "$$f" -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=$(FUZZ_BUILD)/$$n- > $(FUZZ_BUILD)/$$n.log 2>&1; then \
	    tail -n 40 $(FUZZ_BUILD)/$$n.log; echo "$$n found a fault (log: $(FUZZ_BUILD)/$$n.log)"; exit 1; \
	  fi; \
	  grep -m1 "Done" $(FUZZ_BUILD)/$$n.log || true; \
	done

# The game in the browser: build/web/ holds the page, the program (.js and
# .wasm) and its data. The data and packs come from the native build's makers;
# the libraries for the browser are built once into build/web-deps.
WEB_BUILD ?= $(BUILD)/web-cmake
WEB_OUT ?= $(abspath $(BUILD))/web
WEB_DEPS ?= $(abspath $(BUILD))/web-deps
WEB_PORT ?= 8631
export NODE_PATH := /usr/share/nodejs

web-deps:
	@bash scripts/web/install-deps.sh
	JOBS=$(JOBS) bash scripts/web/build-deps.sh "$(WEB_DEPS)"

web: deps web-deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target sq_data_archive sq_web_data sq_levels sq_dist
	emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=MinSizeRel -DSQ_WEB=ON \
	  -DSQ_HOST_BUILD="$(abspath $(BUILD))" -DSQ_WEB_DEPS="$(WEB_DEPS)/prefix" -DSQ_WEB_OUT="$(WEB_OUT)" > /dev/null
	cmake --build $(WEB_BUILD) -j $(JOBS)
	@ls -l $(WEB_OUT)

# Serves build/web on 127.0.0.1:WEB_PORT for a player to open.
web-serve: web
	python3 scripts/web/serve.py --port $(WEB_PORT) --dir "$(WEB_OUT)"

# The web build in headless Chromium: a new player's first map, a reload,
# a dropped pack, no page errors; prints the load time, the page weight, the
# late frames and the CPU beside the desktop game's (PLAY_SECONDS, 60 by
# default). A missed target is reported; SQ_WEB_STRICT=1 fails it too.
web-test: web
	bash scripts/web/test.sh $(BUILD) "$(WEB_OUT)"

# Every C++ file follows .clang-format; format-check fails on the first that differs.
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
