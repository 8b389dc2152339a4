# make run   builds the program and starts it
# make test  builds everything and runs every test, also under the sanitizers
#
# Both install the Debian packages they need when they are missing.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)

BUILD_PACKAGES := cmake ninja-build g++ pkgconf qt6-base-dev librtmidi-dev libjack-jackd2-dev \
                  nlohmann-json3-dev libcli11-dev fonts-ipafont-gothic
TEST_PACKAGES  := $(BUILD_PACKAGES) libgtest-dev libgmock-dev libbenchmark-dev jackd2 xvfb xauth

# CI builds with warnings as errors.
ifneq ($(CI),)
WERROR := -DORB8_WERROR=ON
endif

.PHONY: run test build build-asan deps-build deps-test clean

run: deps-build
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR)
	cmake --build $(BUILD) -j $(JOBS)
	./$(BUILD)/tools/orb8tool --help

test: deps-test
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR)
	cmake --build $(BUILD) -j $(JOBS)
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORB8_SANITIZE=ON -DORB8_BENCH=OFF $(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	@echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
	cd $(ASAN_BUILD) && ctest -j $(JOBS) --output-on-failure
	@echo "== tests"
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

deps-build:
	@sh tools/ensure-packages.sh $(BUILD_PACKAGES)

deps-test:
	@sh tools/ensure-packages.sh $(TEST_PACKAGES)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
