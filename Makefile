# The two set-up commands: `make run` and `make test`. Both install missing Debian packages
# first, then configure and build.

.PHONY: run test deps build-release build-dev fuzz bench format screenshots install package

JOBS ?= $(shell nproc)

deps:
	@tools/install-deps.sh

build-release: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)

build-dev: deps
	cmake --preset dev >/dev/null
	cmake --build --preset dev -j $(JOBS)

# Opens the demo ship, which every build writes into build/<preset>/demo. Shipview runs from
# that folder, the home of its Dialog.ini, so every part and texture is found there. Only the
# program and the demo are built, not the tests and benchmarks.
run: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target shipview demo_ship
	cd build/release/demo && ../apps/shipview/shipview Demo.def

# Every test, OpenGL ones included, runs under a virtual X server; ends with CTest's summary.
test: build-dev
	xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset dev

# Installs the release build into PREFIX (through sudo when not root) and refreshes the MIME
# and application databases there, as a Debian package's triggers would.
PREFIX ?= /usr/local
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
install: build-release
	$(SUDO) cmake --install build/release --prefix $(PREFIX)
	$(SUDO) update-mime-database $(PREFIX)/share/mime
	$(SUDO) update-desktop-database $(PREFIX)/share/applications

# A Debian package of the release build, its dependencies found from the shared libraries the
# programs use: build/release/slipway_<version>_<arch>.deb
package: build-release
	cd build/release && cpack -G DEB

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

bench: build-release
	bench/run-all.sh

# The README's pictures: the demo ship in Shipview and its glTF export rendered by f3d, the
# demo rudder in Meshview.
screenshots: build-release
	tools/install-deps.sh --docs
	cd build/release/demo && xvfb-run -a ../apps/shipview/shipview --screenshot Demo.def \
	    $(CURDIR)/docs/shipview-demo.png --keys PC
	tools/render-gltf-demo.sh build/release docs
	cd build/release/demo && xvfb-run -a ../apps/meshview/meshview --screenshot rudder.cff \
	    $(CURDIR)/docs/meshview-rudder.png --select 1

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
