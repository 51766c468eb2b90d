# Two entry points for a fresh machine:
#   make run   install what is missing, build, analyse the bundled example
#   make test  install what is missing, build, run every test
BUILD_DIR ?= build
CMAKE_FLAGS ?=
EXAMPLE ?= examples/cantilever.kl4d
EXAMPLE_OUT = $(BUILD_DIR)/example-output

.PHONY: all bootstrap configure build run test clean format fuzz

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

# make fuzz: build the libFuzzer targets with clang in their own tree and run each
# for FUZZ_SECONDS. New inputs go to fuzz/corpus-work/NAME (not kept); crashes to
# $(FUZZ_BUILD_DIR)/artifacts/. Copy an input worth keeping to fuzz/corpus/NAME/.
FUZZ_SECONDS ?= 60
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_INSTRUMENT = -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all \
  -fsanitize-coverage-ignorelist=$(CURDIR)/fuzz/coverage-ignorelist.txt

fuzz: bootstrap
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD_DIR) -G Ninja -DKELDA_BUILD_FUZZ=ON -DKELDA_BUILD_TESTS=OFF \
	  "-DCMAKE_C_FLAGS=$(FUZZ_INSTRUMENT)" "-DCMAKE_CXX_FLAGS=$(FUZZ_INSTRUMENT)" >/dev/null
	@cmake --build $(FUZZ_BUILD_DIR) --target kelda_fuzzers
	@mkdir -p $(FUZZ_BUILD_DIR)/artifacts
	@status=0; \
	while IFS='|' read -r name exe corpus dict; do \
	  [ -n "$$name" ] || continue; \
	  mkdir -p fuzz/corpus-work/$$name "$$corpus"; \
	  echo "fuzz: $$name for $(FUZZ_SECONDS) s"; \
	  "$$exe" -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -timeout=10 \
	    -artifact_prefix=$(FUZZ_BUILD_DIR)/artifacts/$$name- $${dict:+-dict=$$dict} \
	    fuzz/corpus-work/$$name "$$corpus" || status=1; \
	done < $(FUZZ_BUILD_DIR)/fuzz/fuzzers.txt; \
	exit $$status

clean:
	rm -rf $(BUILD_DIR)
