# The two commands of README.md: `make run` starts Oribel, `make test` runs every test.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: deps configure build run test kill-test bench fuzz clean

deps:
	@scripts/install-deps

# The benchmarks are built with the tests (not run), so a change that breaks
# them fails the build.
configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DORIBEL_WERROR=ON -DORIBEL_BENCH=ON $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/src/oribel

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest -j $(JOBS) --output-on-failure

# The full forms of the tests that kill saves (1000 kills) and run two copies
# on one settings store (1000 cycles each); make test runs their short forms.
kill-test: configure
	@cmake --build $(BUILD) -j $(JOBS) --target kill_saves_full two_copies_full

bench: deps
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORIBEL_BENCH=ON -DORIBEL_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS)
	@set -e; for b in $$(find build-bench/bench -maxdepth 1 -type f -executable -name 'bench_*' | sort); do \
		echo "== $$b"; $$b; done

fuzz: deps
	@CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORIBEL_FUZZ=ON -DORIBEL_TESTS=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS)

clean:
	rm -rf $(BUILD) build-bench build-fuzz

# ---- Installing and packaging ----------------------------------------------------
# make install [PREFIX=/usr/local] [DESTDIR=/tmp/stage]: the program, its desktop
# entry, icon, AppStream metainfo and manual under PREFIX (inside DESTDIR when set).
# make package: a .deb of the same files under /usr, in $(BUILD)/.
PREFIX ?= /usr/local

.PHONY: install package

install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

package: build
	@cd $(BUILD) && cpack -G DEB
