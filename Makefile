# The two commands of the README: `make run` and `make test`.
# Both install missing Debian packages first (tools/install-deps.sh).

BUILD       ?= build
ASAN_BUILD  ?= build-asan
JOBS        ?= 2
# -noreset: the server would otherwise reset when its last client leaves, and
# refuse the next test that connects during the reset.
XVFB        := xvfb-run -a -s "-screen 0 1024x768x24 -noreset"

.PHONY: deps configure build assets run test unit-asan bench clean

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

# The unit tests once more, under AddressSanitizer and UBSan.
unit-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF -DQUILLON_TEST_GROUPS=unit > /dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target unit_tests
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

bench: build
	@SDL_AUDIODRIVER=dummy $(XVFB) $(BUILD)/bench/quillon_bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
