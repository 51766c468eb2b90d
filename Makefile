# Two entry points for a fresh machine:
#   make run   install what is missing, build, analyse the bundled example
#   make test  install what is missing, build, run every test
BUILD_DIR ?= build
CMAKE_FLAGS ?=
EXAMPLE ?= examples/cantilever.kl4d
EXAMPLE_OUT = $(BUILD_DIR)/example-output

.PHONY: all bootstrap configure build run test clean format

all: build

bootstrap:
	@sh scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR)

run: build
	@mkdir -p $(EXAMPLE_OUT)
	@$(BUILD_DIR)/cli/kelda run $(EXAMPLE) -o $(EXAMPLE_OUT); \
	  status=$$?; \
	  base=$$(basename $(EXAMPLE) .kl4d); \
	  echo "Report: $(EXAMPLE_OUT)/$$base.kl4o"; \
	  echo "Plot data: $(EXAMPLE_OUT)/$$base.kl4p   Iteration log: $(EXAMPLE_OUT)/$$base.kl4r"; \
	  exit $$status

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j 2

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
