BUILD ?= build
PORT ?=
JOBS ?= $(shell nproc)

FUZZ_SECONDS ?= 60

.PHONY: all bootstrap configure build test package run run-adj fuzz clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# A .deb of the programs and their data in $(BUILD) (CPack).
package: build
	@cmake --build $(BUILD) --target package

run: build
	@scripts/run-demo $(BUILD) "$(PORT)"

run-adj: build
	@scripts/run-adj $(BUILD) "$(PORT)"

# Instrumented fuzzers (clang, own folder), FUZZ_SECONDS each; GROW=1 keeps new corpus inputs.
fuzz:
	@FUZZ_SECONDS=$(FUZZ_SECONDS) GROW=$(GROW) JOBS=$(JOBS) scripts/fuzz $(BUILD)-fuzz

clean:
	rm -rf $(BUILD) $(BUILD)-fuzz
