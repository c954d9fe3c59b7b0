# The two commands of the README:
#   make demo  - installs what is missing, builds, starts a local demo FTP server and opens Velmora
#   make test  - installs what is missing, builds and runs every test
# and: make package - builds the Debian package velmora_<version>_<arch>.deb in the build folder
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build demo test package bench clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo; fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

demo: build
	@bash scripts/demo.sh $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600
	@bash scripts/check-leftover-processes.sh $(BUILD_DIR)

package: build
	cmake --build $(BUILD_DIR) --target package

bench: build
	@bash bench/run-all.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
