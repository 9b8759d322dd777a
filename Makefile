# Developer targets. Each installs what it needs and is missing (tools/setup.sh), as the two
# scripts do. ZOR_E2E=OFF leaves the end-to-end tests out of the build folder.
JOBS ?= $(shell nproc)
ZOR_E2E ?= ON

.PHONY: build test asan
build:
	tools/setup.sh --tests
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOR_TESTS=ON -DZOR_E2E=$(ZOR_E2E)
	cmake --build build -j$(JOBS)

# A folder without tests is an error, not a pass.
test: build
	cd build && ctest --output-on-failure --no-tests=error -j$(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	tools/setup.sh --tests
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZOR_SANITIZE=ON -DZOR_TESTS=ON
	cmake --build build-asan -j$(JOBS)
	cd build-asan && ctest --output-on-failure --no-tests=error -j$(JOBS) -LE e2e

# Installs the game under PREFIX: bin/zor, its images and maps in share/zor/, a desktop entry
# and an icon (DESTDIR=... stages the files elsewhere, as packages do).
PREFIX ?= /usr/local
.PHONY: install
install:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j$(JOBS) --target zor
	cmake --install build --prefix "$(PREFIX)"

# Fuzzes the map file readers and writer with libFuzzer (clang) for FUZZ_SECONDS seconds.
# New inputs go to fuzz-corpus-work/, crashing ones to fuzz-corpus-work/crash-*.
FUZZ_SECONDS ?= 600
.PHONY: fuzz
fuzz:
	tools/setup.sh clang
	tools/setup.sh libclang-rt-$$(clang -dumpversion | cut -d. -f1)-dev
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOR_TESTS=OFF -DZOR_SANITIZE=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link
	cmake --build build-fuzz -j$(JOBS) --target fuzz_map_files
	mkdir -p fuzz-corpus-work
	build-fuzz/fuzz_map_files -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  -artifact_prefix=fuzz-corpus-work/ fuzz-corpus-work tools/fuzz/corpus

# Redraws every picture of the game (and docs/art/contact_sheet.png) with tools/artgen; the
# output is byte for byte what is committed, and test_art checks that it stays so.
.PHONY: art
art:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j$(JOBS) --target zor_artgen
	./build/tools/artgen/zor_artgen .

# The browser build (Emscripten) into web-build/site/, and a local server for it at
# http://127.0.0.1:$(WEB_PORT)/ (stop it with Ctrl+C).
WEB_PORT ?= 8080
.PHONY: web web-serve
web:
	tools/setup.sh emscripten
	$(MAKE) -f web/web.mk -j$(JOBS)

web-serve: web
	tools/setup.sh python3
	@echo "ZOR in the browser: http://127.0.0.1:$(WEB_PORT)/"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory web-build/site

# Makes the shipped cities (maps/downtown, maps/suburb, maps/smalltown) and the benchmarks'
# stress city (tools/citygen/maps/stress, load it from tools/citygen as "stress") again with
# tools/citygen, from the style and seed kept in each folder's city.txt. The output is byte for
# byte what is committed, and test_city checks that it stays so; after changing the generator,
# run this and commit the maps with it.
CITIES = maps/downtown maps/suburb maps/smalltown tools/citygen/maps/stress
.PHONY: city
city:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j$(JOBS) --target zor_citygen
	for folder in $(CITIES); do ./build/zor_citygen --remake $$folder || exit 1; done

# Benchmarks (tools/bench, Google Benchmark): the simulation step and the whole frame on the
# default and the stress city beside the floor every frame pays (background and flip), the
# simulation over a sweep of mover counts, and memory over a long run on the default city.
# Prints figures and the targets met or missed; never fails on speed.
.PHONY: bench
bench:
	tools/setup.sh libbenchmark-dev
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j$(JOBS) --target zor_bench
	./build/zor_bench

# SOAK_FRAMES frames of random play on the stress city through the real play frame, under
# AddressSanitizer and UndefinedBehaviorSanitizer with leak checking: fails on any memory error,
# leak or broken reference; prints resident memory as it goes. About an hour on two cores.
SOAK_FRAMES ?= 100000
.PHONY: soak
soak:
	cmake -S . -B build-soak -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOR_SANITIZE=ON -DZOR_TESTS=OFF
	cmake --build build-soak -j$(JOBS) --target zor_soak
	ASAN_OPTIONS=detect_leaks=1 ./build-soak/zor_soak $(SOAK_FRAMES)

# Mutation testing (tools/mutate): plants MUTANTS single-line faults (seed SEED) in world/,
# sim/, render/, editor/ and app/, one at a time in a scratch copy under build-mutate/, and
# runs the unit-test programs on each. Report: build-mutate/report.md and report.json.
# FILES='sim/collision.cpp sim/vehicles.cpp' (shell patterns) keeps the faults to those files.
MUTANTS ?= 150
SEED ?= 1
.PHONY: mutate
mutate:
	tools/setup.sh --tests ccache
	python3 tools/mutate/mutate.py --mutants $(MUTANTS) --seed $(SEED) --jobs $(JOBS) \
	  $(if $(FILES),--files $(FILES))
