# The two commands of the README: `make run` and `make test`.
# Both install missing Debian packages first (tools/install-deps.sh).
# `make capture` renders the show offline to PNG frames in out/capture/,
# `make video` to out/show.mp4, `make bench` times it section by section,
# `make microbench` runs the Google Benchmark programs.

BUILD       ?= build
ASAN_BUILD  ?= build-asan
FUZZ_BUILD  ?= build-fuzz
JOBS        ?= 2
# -noreset: the server would otherwise reset when its last client leaves, and
# refuse the next test that connects during the reset.
XVFB        := xvfb-run -a -s "-screen 0 1024x768x24 -noreset"
# Frames per second of `make capture` and `make bench`.
FPS         ?= 60

.PHONY: deps configure build assets reference install package run test unit-asan e2e-asan fuzz-build fuzz-smoke fuzz soak capture video bench microbench clean

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The build already regenerates the assets when the generator changed; this
# target writes them again regardless.
assets: build
	@$(BUILD)/quillon-assets data

# docs/reference.md, written again from the engine's tables (a unit test
# fails while it is out of step with them).
reference: build
	@$(BUILD)/quillon --reference > docs/reference.md

# The programs, their manual pages and the engine's data under PREFIX; the
# player finds PREFIX/share/quillon from PREFIX/bin, so the prefix may move.
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the same files (quillon_VERSION_ARCH.deb, here).
package: build
	@cd $(BUILD) && cpack -G DEB > /dev/null
	@cp $(BUILD)/quillon_*.deb . && ls quillon_*.deb

run: build
	@if [ -n "$$DISPLAY" ]; then \
	  $(BUILD)/quillon --windowed $(ARGS) . ; \
	else \
	  echo "No DISPLAY: playing under Xvfb (nothing will be visible)."; \
	  SDL_AUDIODRIVER=$${SDL_AUDIODRIVER:-dummy} $(XVFB) $(BUILD)/quillon --windowed $(ARGS) . ; \
	fi

# First of all: test code stays within 0.40 of the program's lines.
test: build
	@bash tools/ratio/test-ratio.sh
	@SDL_AUDIODRIVER=dummy $(XVFB) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory unit-asan
	@$(MAKE) --no-print-directory e2e-asan
	@$(MAKE) --no-print-directory fuzz-smoke

# The unit tests once more, under AddressSanitizer and UBSan.
unit-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF -DQUILLON_TEST_GROUPS=unit > /dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target unit_tests
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The end-to-end runs of --video, edit mode and --new once more, the player
# built under AddressSanitizer and UBSan: a fault in the player ends it with
# another status than the one a test expects. Offline runs and --new are
# checked for leaks too; windowed runs are not, since SDL's X11 video and the
# GL driver it unloads on closing the window leave their own allocations.
E2E_ASAN_OFFLINE ?= video.lossless*:video.bad*:video.a_run*:install.new*
E2E_ASAN_WINDOWED ?= edit_faults.*:edit_keys.each*:edit_mode.follows*
E2E_ASAN_RUN = QUILLON_PLAYER_DIR=$(CURDIR)/$(ASAN_BUILD) SDL_AUDIODRIVER=dummy UBSAN_OPTIONS=print_stacktrace=1
e2e-asan: build
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF -DQUILLON_TEST_GROUPS=unit > /dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target quillon
	@$(E2E_ASAN_RUN) ASAN_OPTIONS=detect_leaks=1 $(XVFB) $(BUILD)/tests/e2e_tests --gtest_filter='$(E2E_ASAN_OFFLINE)'
	@$(E2E_ASAN_RUN) ASAN_OPTIONS=detect_leaks=0 $(XVFB) $(BUILD)/tests/e2e_tests --gtest_filter='$(E2E_ASAN_WINDOWED)'

# The fuzz targets (clang, libFuzzer, ASan, UBSan): the model, script and
# spline readers, the image path and the MP3 stream, each from its seeds and
# the generated show files in a scratch corpus. `make fuzz` gives each
# FUZZ_TIME seconds; `make fuzz-smoke` (part of `make test`) FUZZ_SMOKE_TIME.
FUZZ_TIME       ?= 60
FUZZ_SMOKE_TIME ?= 8
FUZZ_TARGETS    := fuzz_model fuzz_script fuzz_spline fuzz_image fuzz_mp3

fuzz-build: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_FUZZ=ON \
	  -DQUILLON_TEST_GROUPS=none -DQUILLON_BENCH=OFF > /dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)

fuzz-smoke: fuzz-build
	@bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SMOKE_TIME)

fuzz: fuzz-build
	@bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_TIME)

# Offline runs draw offscreen (Mesa's software renderer where there is no
# GPU) and need no display.
capture: build
	@rm -rf out/capture && mkdir -p out
	@$(BUILD)/quillon --capture out/capture --fps $(FPS) $(ARGS) .

video: build
	@mkdir -p out
	@$(BUILD)/quillon --video out/show.mp4 --fps $(FPS) $(ARGS) .

bench: build
	@SDL_AUDIODRIVER=dummy $(XVFB) $(BUILD)/quillon --bench --fps $(FPS) $(ARGS) .

# The default show PASSES times over on the fixed step (SOAK_FPS frames per
# demo second, a small window), resources loaded once: prints the peak
# resident memory of every pass and fails when it keeps growing after the
# first.
PASSES   ?= 5
SOAK_FPS ?= 5
soak: build
	@out=$$(mktemp); \
	SDL_AUDIODRIVER=dummy $(XVFB) $(BUILD)/quillon --bench --passes $(PASSES) --fps $(SOAK_FPS) \
	  --size 640x512 $(ARGS) . > $$out; status=$$?; \
	grep -E '^(Soak|Bench)' $$out; rm -f $$out; exit $$status

microbench: build
	@SDL_AUDIODRIVER=dummy $(XVFB) $(BUILD)/bench/quillon_bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
