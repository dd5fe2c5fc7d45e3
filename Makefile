# Tarvik2: set-up, build, run and test in one command each, on a fresh Debian 12 machine.
#   make run            build and open the window on the bundled example data (needs a display)
#   make demo           build and run a short tour of tarvik2-cli on the same data
#   make test           build and run every test
#   make test-sanitize  the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   make install        install the programs, help pages, desktop entry and manual page
#                       (PREFIX, /usr/local by default)
#   make bench          build and run the benchmarks
#   make fuzz           build the fuzz targets (clang 14, libFuzzer) and run each for
#                       FUZZ_SECONDS seconds under AddressSanitizer and UndefinedBehaviorSanitizer

BUILD      ?= build
BUILD_SAN  ?= build-sanitize
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR  := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
PACKAGES   := cmake make g++ ninja-build libgtest-dev flex bison libcli11-dev clang-14 \
              libclang-rt-14-dev qt6-base-dev libqt6printsupport6 qt6-qpa-plugins poppler-utils \
              fonts-dejavu-core
FUZZ_TARGETS := fuzz_xml_parser fuzz_load_0 fuzz_load_1 fuzz_load_2 fuzz_load_3 fuzz_load_4 \
                fuzz_load_5 fuzz_load_6 fuzz_load_7

.PHONY: all deps configure build run demo test test-sanitize install bench fuzz fuzz-build clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing packages:$$missing"; \
	  if [ "$$(id -u)" = 0 ]; then \
	    (apt-get update -qq || true) && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then \
	    (sudo apt-get update -qq || true) && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Please run as root: apt-get install -y$$missing"; exit 1; \
	  fi; \
	fi

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/tarvik2 examples/reference.gen examples/samples.gen

demo: build
	./examples/demo.sh $(BUILD)/tarvik2-cli

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(BUILD_SAN) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DTARVIK_SANITIZE=ON -DTARVIK_BENCH=OFF
	cmake --build $(BUILD_SAN) -j $(JOBS)
	cd $(BUILD_SAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

bench: build
	@if [ -x $(BUILD)/bench/tarvik2-bench ]; then $(BUILD)/bench/tarvik2-bench; else echo "no benchmark built"; fi
	@if [ -x $(BUILD)/bench/tarvik2-window-bench ]; then QT_QPA_PLATFORM=offscreen $(BUILD)/bench/tarvik2-window-bench; fi

# Each target starts from its seeds (tests/corpus/<target>/, read only) and from what earlier runs
# found (kept in $(BUILD_FUZZ)/corpus/<target>/); a crashing input is saved under
# $(BUILD_FUZZ)/artifacts/ and stops the run with a failure. The number of executions of every
# target is gathered in $(BUILD_FUZZ)/fuzz-summary.txt.
fuzz-build: deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(BUILD_FUZZ) $(GENERATOR) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIK_FUZZ=ON
	cmake --build $(BUILD_FUZZ) -j $(JOBS)

fuzz: fuzz-build
	@mkdir -p $(BUILD_FUZZ)/artifacts; : > $(BUILD_FUZZ)/fuzz-summary.txt; \
	for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(BUILD_FUZZ)/corpus/$$t; \
	  echo "== $$t: $(FUZZ_SECONDS) s"; \
	  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  $(BUILD_FUZZ)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
	    -max_len=16384 -print_final_stats=1 -artifact_prefix=$(BUILD_FUZZ)/artifacts/$$t- \
	    $(BUILD_FUZZ)/corpus/$$t tests/corpus/$$t > $(BUILD_FUZZ)/$$t.log 2>&1; \
	  status=$$?; \
	  runs=$$(sed -n 's/^stat::number_of_executed_units: *//p' $(BUILD_FUZZ)/$$t.log); \
	  echo "$$t: $${runs:-?} executions in $(FUZZ_SECONDS) s" | tee -a $(BUILD_FUZZ)/fuzz-summary.txt; \
	  if [ $$status -ne 0 ]; then tail -n 60 $(BUILD_FUZZ)/$$t.log; exit 1; fi; \
	done

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_FUZZ)
