# The two commands of the README, and a few more. Each installs what is missing first.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
RUN_DIR ?= $(CURDIR)/run

.PHONY: all deps configure build run test test-sanitize bench screenshot install fuzz clean

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

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
SANITIZE_BUILD ?= build-sanitize
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKARVEL_SANITIZE=ON -DKARVEL_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	@# Leaks are left to the fuzz runs: LeakSanitizer's own tracer crashes at the exit of a
	@# window test now and then, which would fail a clean run.
	@ASAN_OPTIONS=detect_leaks=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  scripts/with-pulse.sh scripts/run-tests.sh $(SANITIZE_BUILD)

bench: build
	@scripts/with-pulse.sh scripts/run-bench.sh $(BUILD)

# Every fuzz target in turn, FUZZ_SECONDS each, built with clang, ASan and UBSan.
FUZZ_SECONDS ?= 600
FUZZ_BUILD ?= build-fuzz
fuzz: deps
	@CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKARVEL_FUZZ=ON \
	  -DKARVEL_BUILD_TESTS=OFF -DKARVEL_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_rtf fuzz_metafile fuzz_inifile fuzz_midifile fuzz_picture
	@for target in rtf metafile inifile midifile picture; do \
	  corpus=$$(mktemp -d); cp fuzz/corpus/$$target/* $$corpus/; \
	  echo "== fuzz_$$target for $(FUZZ_SECONDS) s"; \
	  if ! LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp $(FUZZ_BUILD)/fuzz/fuzz_$$target $$corpus \
	    -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -timeout=10 -rss_limit_mb=2048 >$$corpus.log 2>&1; then \
	    tail -n 40 $$corpus.log; exit 1; fi; \
	  tail -n 2 $$corpus.log; rm -rf $$corpus $$corpus.log; \
	done

PREFIX ?= /usr/local
# Installs the program, its desktop entry and icon, and the demo drive a first start copies.
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

screenshot: build
	@scripts/screenshot.sh $(BUILD)/app/karvel docs/screenshot.png

clean:
	rm -rf $(BUILD) $(RUN_DIR)
