# The commands a developer needs; each one installs what is missing, configures and builds.
BUILD := build
JOBS  ?= 2

.PHONY: test run build deps clean

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

run: build
	$(BUILD)/app/heptanote

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

deps:
	scripts/install-deps.sh

clean:
	rm -rf $(BUILD)
