BUILD ?= build
PORT ?=
JOBS ?= $(shell nproc)

.PHONY: all bootstrap configure build test run run-adj clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	@scripts/run-demo $(BUILD) "$(PORT)"

run-adj: build
	@scripts/run-adj $(BUILD) "$(PORT)"

clean:
	rm -rf $(BUILD)
