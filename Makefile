# The two commands of the README: `make run` and `make test`.
# Both install missing Debian packages first (tools/install-deps.sh).
# `make capture` renders the show offline to out/capture/ (and out/show.mp4
# when ffmpeg is installed), `make bench` times it section by section,
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

.PHONY: deps configure build assets run test unit-asan fuzz-smoke capture bench microbench clean

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

run: build
	@if [ -n "$$DISPLAY" ]; then \
	  $(BUILD)/quillon --windowed $(ARGS) . ; \
	else \
	  echo "No DISPLAY: playing under Xvfb (nothing will be visible)."; \
	  SDL_AUDIODRIVER=$${SDL_AUDIODRIVER:-dummy} $(XVFB) $(BUILD)/quillon --windowed $(ARGS) . ; \
	fi

test: build
	@SDL_AUDIODRIVER=dummy $(XVFB) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory unit-asan
	@$(MAKE) --no-print-directory fuzz-smoke

# The unit tests once more, under AddressSanitizer and UBSan.
unit-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF -DQUILLON_TEST_GROUPS=unit > /dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target unit_tests
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# Ten seconds of the model parser under libFuzzer (clang, ASan, UBSan), from
# the generated models and the small hand-made seeds, in a scratch corpus.
fuzz-smoke: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_FUZZ=ON \
	  -DQUILLON_TEST_GROUPS=none -DQUILLON_BENCH=OFF > /dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_model
	@rm -rf $(FUZZ_BUILD)/corpus-model && mkdir -p $(FUZZ_BUILD)/corpus-model
	@cp fuzz/seeds/model/* $(FUZZ_BUILD)/corpus-model/
	@cp data/models/*.3ds $(FUZZ_BUILD)/corpus-model/ 2>/dev/null || \
	  echo "fuzz-smoke: no generated models in data/models (run make build first)"
	@$(FUZZ_BUILD)/fuzz/fuzz_model -max_total_time=10 -print_final_stats=1 $(FUZZ_BUILD)/corpus-model

# Always under Xvfb (Mesa's software renderer), so the frames are the same on
# every machine.
capture: build
	@rm -rf out/capture && mkdir -p out
	@SDL_AUDIODRIVER=dummy $(XVFB) $(BUILD)/quillon --capture out/capture --fps $(FPS) $(ARGS) .
	@if command -v ffmpeg > /dev/null; then \
	  audio=""; [ -f out/capture/audio.wav ] && audio="-i out/capture/audio.wav -c:a aac -shortest"; \
	  ffmpeg -y -loglevel error -framerate $(FPS) -i out/capture/frame_%06d.png $$audio \
	    -vf 'pad=ceil(iw/2)*2:ceil(ih/2)*2' -c:v libx264 -pix_fmt yuv420p out/show.mp4 && \
	  echo "Wrote out/show.mp4"; \
	else \
	  echo "ffmpeg is not installed: the frames stay in out/capture/"; \
	fi

bench: build
	@SDL_AUDIODRIVER=dummy $(XVFB) $(BUILD)/quillon --bench --fps $(FPS) $(ARGS) .

microbench: build
	@SDL_AUDIODRIVER=dummy $(XVFB) $(BUILD)/bench/quillon_bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
