# The two commands of the README, and a few more. Each installs what is missing first.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
RUN_DIR ?= $(CURDIR)/run

.PHONY: all deps configure build run test bench screenshot clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# Starts the program on a fresh copy of the demo drive, so a run never changes the repository.
run: build
	@scripts/run-demo.sh $(BUILD)/app/karvel $(RUN_DIR)

test: build
	@scripts/with-pulse.sh scripts/run-tests.sh $(BUILD)

bench: build
	@scripts/run-bench.sh $(BUILD)

screenshot: build
	@scripts/screenshot.sh $(BUILD)/app/karvel docs/screenshot.png

clean:
	rm -rf $(BUILD) $(RUN_DIR)
