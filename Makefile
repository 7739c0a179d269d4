# make run   - install missing packages, build, start the program
# make test  - install missing packages, build, run every test
# make bench - build and run the benchmark
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./mentaro

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	cd $(BUILD) && ./mentaro_bench | tee bench-output.md
	cat $(BUILD)/bench-output.md bench/GOALS.md > bench/RESULTS.md

clean:
	rm -rf $(BUILD)
