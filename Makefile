# make run   - install missing packages, build, start the program
# make test  - install missing packages, build, run every test
# make bench - build and run the benchmark
# make install PREFIX=/usr/local - build and install (with the manual, made by pandoc)
# make uninstall - remove what the last `make install` put in place
# make package - build the Debian package $(PACKAGE_BUILD)/mentaro_<version>_<arch>.deb and check it
BUILD ?= build
PACKAGE_BUILD ?= build-package
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

# The package has a build folder of its own: only what it holds (no tests, no benchmark), built
# with the hardening flags of the distribution (fortify, stack protector, relro, bindnow) and
# without a build type's flags of its own, as Debian builds its packages. lintian checks it.
package: deps
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all && \
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=None -DMENTARO_BUILD_TESTS=OFF \
		-DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	rm -f $(PACKAGE_BUILD)/mentaro_*.deb
	cd $(PACKAGE_BUILD) && cpack
	tools/check-package.sh --hardened $(PACKAGE_BUILD)/mentaro_*.deb

clean:
	rm -rf $(BUILD)
