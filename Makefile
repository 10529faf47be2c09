# Two commands do everything on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, and starts the program
#   make test  installs what is missing, builds with sanitizers, and runs every test
BUILD_DIR ?= build
TEST_DIR ?= build-test
JOBS ?= $(shell nproc)

.PHONY: deps build run test bench clean

deps:
	bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARLO_BUILD_TESTS=OFF -DMARLO_BUILD_BENCH=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

# EDITION=marlo-ipod-converter (or any edition link of the program folder) starts another edition.
EDITION ?= marlo-video-converter
run: build
	$(BUILD_DIR)/app/$(EDITION)

test: deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARLO_SANITIZE=ON -DMARLO_BUILD_BENCH=OFF
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARLO_BUILD_TESTS=OFF -DMARLO_BUILD_BENCH=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	bash bench/run.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(TEST_DIR)
