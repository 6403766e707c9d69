# Set-up commands of ORVALDIS. See README.md.
PREFIX ?= $(HOME)/ORVALDIS
BUILD  ?= build
JOBS   ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build install run test stress fuzz bench format clean

# SANITIZE=1: everything built with the address and undefined-behaviour
# sanitizers in a build directory of its own (make test SANITIZE=1 runs the
# whole suite so). Leaks that the system libraries keep for the life of the
# process are not the program's: tests/sanitize.supp lists them.
ifeq ($(SANITIZE),1)
BUILD := $(BUILD)-asan
CMAKE_ARGS += -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALDIS_SANITIZE=ON
# The web engine (not built with the sanitizers) frees some of its objects
# with another size than it made them with: that check is left off. A
# request for more memory than there is gets no memory, as without the
# sanitizers, so that the program's answer to it is tested too.
TEST_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:new_delete_type_mismatch=0:allocator_may_return_null=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize.supp \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The page conversion test runs inside the web engine, whose code is not
# built with the sanitizers: it frees memory with another size than it
# allocated it with, which stops the test before any of the program's code
# is checked. The other browser tests run.
CTEST_ARGS = -E '^tst_conversion$$'
endif

all: build

deps:
	@sh scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)"

run: install
	cd "$(PREFIX)" && ./orvaldis

test: build
	cd $(BUILD) && $(TEST_ENV) QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
		ctest --output-on-failure -j $(JOBS) $(CTEST_ARGS)

# The fuzz targets, each for FUZZ_SECONDS over its seeds (tests/fuzz/corpus).
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = records migration template pagecopy importcut
fuzz: deps
	@sh scripts/install-deps.sh fuzz
	cmake -S . -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DORVALDIS_FUZZ=ON -DORVALDIS_TESTS=OFF
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	for t in $(FUZZ_TARGETS); do \
		mkdir -p $(BUILD)-fuzz/corpus/$$t && \
		QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tests/fuzz/lsan.supp \
		$(BUILD)-fuzz/tests/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) \
			-rss_limit_mb=4096 -artifact_prefix=$(BUILD)-fuzz/ $(BUILD)-fuzz/corpus/$$t tests/fuzz/corpus/$$t \
			|| exit 1; \
	done

# A thousand kills of the store's work at random moments (100 in the tests);
# they take longer than the test library's five minutes per test.
stress: build
	ORVALDIS_CRASH_KILLS=1000 QTEST_FUNCTION_TIMEOUT=7200000 $(BUILD)/tests/stress/tst_crash

bench: deps
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DORVALDIS_TESTS=OFF -DORVALDIS_BENCH=ON
	cmake --build $(BUILD)-bench -j $(JOBS)
	$(BUILD)-bench/bench/orvaldis_bench
	$(BUILD)-bench/bench/orvaldis_bench_conversion

format: configure
	cmake --build $(BUILD) --target format

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-asan $(BUILD)-fuzz
