# make run   - build, then show the program downloading the sample package from the local mirror
# make test  - build and pass the whole test suite
# make bench - download throughput and memory figures
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release

.PHONY: setup configure build test run bench clean

setup:
	@scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(CMAKE_FLAGS) >/dev/null

build: configure
	cmake --build $(BUILD) -j2

test: build
	scripts/run-tests.sh $(BUILD)

run: build
	scripts/run.sh $(BUILD)

bench: build
	bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
