# Set-up commands of ORVALDIS. See README.md.
PREFIX ?= $(HOME)/ORVALDIS
BUILD  ?= build
JOBS   ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build install run test stress bench format clean

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

# A thousand kills of the store's work at random moments (100 in the tests).
stress: build
	ORVALDIS_CRASH_KILLS=1000 $(BUILD)/tests/stress/tst_crash

bench: deps
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DORVALDIS_TESTS=OFF -DORVALDIS_BENCH=ON
	cmake --build $(BUILD)-bench -j $(JOBS)
	$(BUILD)-bench/bench/orvaldis_bench

format: configure
	cmake --build $(BUILD) --target format

clean:
	rm -rf $(BUILD) $(BUILD)-bench
