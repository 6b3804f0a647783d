# Front door of the project. `make play` and `make test` are all a newcomer needs.

BUILD_DIR      ?= build
TEST_BUILD_DIR ?= build-test
JOBS           ?= $(shell nproc)
# The sanitizer build prefers clang: it also builds the libFuzzer targets.
TEST_CXX       ?= $(shell command -v clang++ || command -v g++)
TEST_CC        ?= $(shell command -v clang || command -v gcc)

.PHONY: all setup build play test bench format clean

all: build

setup:
	@tools/setup/setup.sh

build: setup
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

play: build
	@if [ -x $(BUILD_DIR)/bin/mahjongcuriomar ]; then \
	  cd $(BUILD_DIR)/bin && ./mahjongcuriomar; \
	else \
	  echo "The game program is not built yet; the tree so far has these programs:"; \
	  ls $(BUILD_DIR)/bin; \
	  echo "Running: $(BUILD_DIR)/bin/tvtool"; \
	  $(BUILD_DIR)/bin/tvtool; \
	fi

test: setup
	@cmake -S . -B $(TEST_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMC_SANITIZE=ON \
	  -DCMAKE_CXX_COMPILER=$(TEST_CXX) -DCMAKE_C_COMPILER=$(TEST_CC) >/dev/null
	@cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	@cd $(TEST_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD_DIR)/bench/*; do [ -x "$$b" ] && "$$b"; done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR)
