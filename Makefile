# make run   - install missing packages, build, start the program
# make test  - install missing packages, build, run every test
# make bench - build and run the benchmark
# make install PREFIX=/usr/local - build and install (with the manual, made by pandoc)
# make uninstall - remove what the last `make install` put in place
# make package - build the Debian package $(BUILD)/mentaro_<version>_<arch>.deb
BUILD ?= build
PREFIX ?= /usr/local
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run test bench install uninstall package clean

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

# The benchmark gets a virtual X server of its own, on which a second X client watches the
# program's windows; the results are kept only from a run that got to its end.
bench: build
	cd $(BUILD) && timeout --kill-after=30 900 $(CURDIR)/tools/with-xvfb.sh 1366x768 \
		env QT_QPA_PLATFORM=xcb ./mentaro_bench | tee bench-output.md
	@grep -q '^## Goals in this run' $(BUILD)/bench-output.md || \
		{ echo "benchmark did not finish; bench/RESULTS.md left as it was"; exit 1; }
	cat $(BUILD)/bench-output.md bench/GOALS.md > bench/RESULTS.md

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "nothing installed from $(BUILD)"; exit 1; }
	xargs -d '\n' rm -fv < $(BUILD)/install_manifest.txt
	rmdir --ignore-fail-on-non-empty $(PREFIX)/share/mentaro $(PREFIX)/share/doc/mentaro 2>/dev/null || true

package: build
	cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD)
