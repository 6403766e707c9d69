# Set-up commands of ORVALDIS. See README.md.
PREFIX ?= $(HOME)/ORVALDIS
BUILD  ?= build
JOBS   ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build install run test stress fuzz bench format clean

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
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
		ctest --output-on-failure -j $(JOBS)

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

# A thousand kills of the store's work at random moments (100 in the tests).
stress: build
	ORVALDIS_CRASH_KILLS=1000 $(BUILD)/tests/stress/tst_crash

bench: deps
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DORVALDIS_TESTS=OFF -DORVALDIS_BENCH=ON
	cmake --build $(BUILD)-bench -j $(JOBS)
	$(BUILD)-bench/bench/orvaldis_bench
	$(BUILD)-bench/bench/orvaldis_bench_conversion

format: configure
	cmake --build $(BUILD) --target format

clean:
	rm -rf $(BUILD) $(BUILD)-bench
