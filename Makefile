# Set-up commands of ORVALDIS. See README.md.
PREFIX ?= $(HOME)/ORVALDIS
BUILD  ?= build
JOBS   ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build install run test bench format clean

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

bench: deps
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DORVALDIS_TESTS=OFF -DORVALDIS_BENCH=ON
	cmake --build $(BUILD)-bench -j $(JOBS)
	$(BUILD)-bench/bench/orvaldis_bench

format: configure
	cmake --build $(BUILD) --target format

clean:
	rm -rf $(BUILD) $(BUILD)-bench
