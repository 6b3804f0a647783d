# Front door of the project. `make play` and `make test` are all a newcomer needs.

BUILD_DIR      ?= build
TEST_BUILD_DIR ?= build-test
JOBS           ?= $(shell nproc)
# The sanitizer build prefers clang: it also builds the libFuzzer targets.
TEST_CXX       ?= $(shell command -v clang++ || command -v g++)
TEST_CC        ?= $(shell command -v clang || command -v gcc)

.PHONY: all setup build play serve test bench format clean install install-tools uninstall deb

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

# The high-score server on this machine, for the game built here: hiscoreserver.txt beside
# the game points it at the server while the server runs (Ctrl+C stops both).
SERVE_PORT ?= 8642
serve: build
	@mkdir -p $(BUILD_DIR)/hiscored
	@echo "http://127.0.0.1:$(SERVE_PORT)/go/hiscore" > $(BUILD_DIR)/bin/hiscoreserver.txt
	@echo "make serve: scores in $(BUILD_DIR)/hiscored/hiscore.db; the game in $(BUILD_DIR)/bin uses this server (hiscoreserver.txt) until Ctrl+C"
	@trap 'rm -f $(BUILD_DIR)/bin/hiscoreserver.txt' EXIT INT TERM; \
	  $(BUILD_DIR)/bin/hiscored --db $(BUILD_DIR)/hiscored/hiscore.db --port $(SERVE_PORT) \
	    --access-log $(BUILD_DIR)/hiscored/access.log

test: setup
	@cmake -S . -B $(TEST_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMC_SANITIZE=ON \
	  -DCMAKE_CXX_COMPILER=$(TEST_CXX) -DCMAKE_C_COMPILER=$(TEST_CC) >/dev/null
	@cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	@cd $(TEST_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Installing like a Linux game: the program in $(PREFIX)/bin, its assets in
# $(PREFIX)/share/mahjongcuriomar, the desktop entry, icons and AppStream metainfo, the
# high-score server with its systemd unit (cmake/Install.cmake lists it all). DESTDIR stages
# the install elsewhere; uninstall removes what the last install recorded (give it the same
# DESTDIR).
PREFIX ?= /usr/local
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix $(PREFIX) --strip

install-tools: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix $(PREFIX) --strip --component tools

uninstall:
	@cmake -DBUILD_DIR=$(BUILD_DIR) -DPREFIX=$(PREFIX) -DDESTDIR="$(DESTDIR)" -P cmake/Uninstall.cmake

# The Debian package of the game in $(BUILD_DIR)/package/, with the AppStream screenshot
# beside it (to be published at the metainfo's screenshot address).
deb: build
	@tools/package/build_deb.sh $(BUILD_DIR)
	@tools/package/screenshot.sh $(BUILD_DIR)/bin/mahjongcuriomar \
	  $(BUILD_DIR)/package/screenshots/mahjongcuriomar-1.png

bench: build
	@for b in $(BUILD_DIR)/bench/*; do [ -x "$$b" ] && "$$b"; done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR)
