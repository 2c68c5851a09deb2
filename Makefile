# The two set-up commands: `make run` and `make test`. Both install missing Debian packages
# first, then configure and build.

.PHONY: run test deps build-release build-dev fuzz bench format screenshots

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
# that folder, the home of its Dialog.ini, so every part and texture is found there.
run: build-release
	cd build/release/demo && ../apps/shipview/shipview Demo.def

# Every test, OpenGL ones included, runs under a virtual X server; ends with CTest's summary.
test: build-dev
	xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset dev

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

bench: build-release
	bench/run-all.sh

# The README's pictures: the demo ship in Shipview, the demo rudder in Meshview.
screenshots: build-release
	cd build/release/demo && xvfb-run -a ../apps/shipview/shipview --screenshot Demo.def \
	    $(CURDIR)/docs/shipview-demo.png --keys PC
	cd build/release/demo && xvfb-run -a ../apps/meshview/meshview --screenshot rudder.cff \
	    $(CURDIR)/docs/meshview-rudder.png --select 1

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
