# The commands a developer needs; each one installs what is missing, configures and builds.
#   make test          everything CI runs: the tests, the fuzzer, the tests again under sanitizers
#   make test-release  the tests of the Release build alone, the quick loop
#   make run           opens the program
#   make package       the Debian package, build/heptanote_<version>_<arch>.deb
BUILD        := build
JOBS         ?= 2
FUZZ_SECONDS ?= 60

.PHONY: test test-release test-sanitize fuzz run package build deps clean

test: test-release fuzz test-sanitize

test-release: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

run: build
	$(BUILD)/app/heptanote

package: build
	cmake --build $(BUILD) --target package

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DHEPTANOTE_WINDOW=ON -DHEPTANOTE_BENCHMARKS=ON \
		-DBUILD_TESTING=ON
	cmake --build $(BUILD) -j $(JOBS)

# AddressSanitizer and UndefinedBehaviorSanitizer over the whole suite; any report fails a test.
test-sanitize: deps
	cmake -S . -B $(BUILD)-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHEPTANOTE_SANITIZE=ON \
		-DHEPTANOTE_WINDOW=ON -DHEPTANOTE_BENCHMARKS=OFF -DBUILD_TESTING=ON
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	ctest --test-dir $(BUILD)-sanitize --output-on-failure -j $(JOBS) -LE package

# The column count reader under libFuzzer for a bounded time, from the committed seeds; new
# inputs it finds stay in the build folder.
fuzz: deps
	CXX=clang++-14 cmake -S . -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHEPTANOTE_FUZZ=ON \
		-DHEPTANOTE_WINDOW=OFF -DHEPTANOTE_BENCHMARKS=OFF -DBUILD_TESTING=OFF
	cmake --build $(BUILD)-fuzz -j $(JOBS)
	mkdir -p $(BUILD)-fuzz/corpus
	$(BUILD)-fuzz/generation/fuzz/column_count_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		-artifact_prefix=$(BUILD)-fuzz/ $(BUILD)-fuzz/corpus generation/fuzz/corpus

deps:
	scripts/install-deps.sh

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(BUILD)-fuzz
