# make run   builds the window program and starts it (without a display:
#            a picture of it showing the simulated ORB-8's bank)
# make test  builds everything and runs every test under the sanitizers
# make bench builds the programs and the benchmarks optimised
#
# Both install the Debian packages they need when they are missing.

SHELL := /bin/bash

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
MONKEY_EVENTS ?= 100000
MONKEY_SEED ?= $(shell date +%s)
JOBS       ?= $(shell nproc)

BUILD_PACKAGES := cmake ninja-build g++ pkgconf qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n \
                  qt6-svg-dev librtmidi-dev libjack-jackd2-dev nlohmann-json3-dev libcli11-dev libsqlite3-dev zlib1g-dev \
                  fonts-ipafont-gothic
TEST_PACKAGES  := $(BUILD_PACKAGES) libgtest-dev libgmock-dev libbenchmark-dev jackd2 xvfb xauth clang libclang-rt-14-dev \
                  desktop-file-utils appstream x11-utils python3 mold

# CI builds with warnings as errors.
ifneq ($(CI),)
WERROR := -DORB8_WERROR=ON
endif

.PHONY: run test bench fuzz fuzz-build monkey deps-build deps-test clean

run: deps-build
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR)
	cmake --build $(BUILD) -j $(JOBS) --target orb8ed orb8tool
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  ./$(BUILD)/orb8ed; \
	else \
	  echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY): making a picture of the program instead."; \
	  mkdir -p $(BUILD)/run; \
	  ./$(BUILD)/tools/orb8tool receive $(BUILD)/run/bank.orb --force --no-real-ports --sim-instant --channel 1 && \
	  ./$(BUILD)/orb8ed --screenshot $(BUILD)/run/main-window.png $(BUILD)/run/bank.orb && \
	  echo "The main window with the simulated ORB-8's bank: $(BUILD)/run/main-window.png"; \
	fi

# Everything is built once, under the sanitizers: the programs, the tools,
# the benchmarks (so that they keep building) and the tests, which run there;
# then the fuzzers and a short run of each.
test: deps-test
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORB8_SANITIZE=ON -DORB8_BENCH=ON $(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	$(MAKE) --no-print-directory fuzz-build
	@echo "== a short run of every fuzzer"
	cd $(FUZZ_BUILD) && ctest -j $(JOBS) --output-on-failure
	@echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
	cd $(ASAN_BUILD) && ctest -j $(JOBS) --output-on-failure

# The benchmarks measure the optimised build (as make run's): they print
# their figures, e.g. ./build/bench/startup_bench.
bench: deps-test
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORB8_BENCH=ON $(WERROR)
	cmake --build $(BUILD) -j $(JOBS) --target programs
	@echo "The benchmarks are in $(BUILD)/bench/."

# The libFuzzer targets (clang), and a longer run of each: make fuzz FUZZ_SECONDS=600
fuzz-build:
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG" \
	  -DORB8_FUZZ=ON -DORB8_GUI=OFF -DORB8_TESTS=OFF -DORB8_BENCH=OFF $(WERROR)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers

fuzz: deps-test fuzz-build
	@for f in $(FUZZ_BUILD)/tests/fuzz/fuzz_*; do \
	  name=$$(basename $$f); mkdir -p $(FUZZ_BUILD)/corpus/$$name; \
	  echo "== $$name for $(FUZZ_SECONDS) s"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -max_len=4096 $(FUZZ_BUILD)/corpus/$$name 2>&1 | tee $(FUZZ_BUILD)/$$name.log; \
	  [ $${PIPESTATUS[0]:-0} -eq 0 ] || exit 1; \
	done; \
	echo "== coverage reached (points, features, corpus entries)"; \
	for f in $(FUZZ_BUILD)/tests/fuzz/fuzz_*; do \
	  name=$$(basename $$f); \
	  printf '%-16s %s\n' $$name "$$(grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9]*' $(FUZZ_BUILD)/$$name.log | tail -1)"; \
	done

# A longer run of the GUI monkey under the sanitizers, with a new seed each
# time: make monkey MONKEY_EVENTS=300000 (MONKEY_SEED=n replays a failure).
monkey: deps-test
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORB8_SANITIZE=ON -DORB8_BENCH=ON $(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target gui_monkey orb8tool
	cd $(ASAN_BUILD)/tests && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ./gui_monkey --events $(MONKEY_EVENTS) --seed $(MONKEY_SEED)

deps-build:
	@sh tools/ensure-packages.sh $(BUILD_PACKAGES)

deps-test:
	@sh tools/ensure-packages.sh $(TEST_PACKAGES)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
