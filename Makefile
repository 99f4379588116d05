# The two commands a person needs: `make demo` (the main job on the sample network) and `make test`.
JOBS ?= $(shell nproc)

.PHONY: deps release debug demo test test-release bench bench-processes fuzz format format-check clean

deps:
	@bash scripts/deps.sh

release: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)

debug: deps
	cmake --preset debug >/dev/null
	cmake --build --preset debug -j $(JOBS)

demo: release
	bash scripts/demo.sh build/release

# Seconds each fuzz target runs: `make fuzz` runs them longer, `make test` (CI) briefly.
FUZZ_SECONDS ?= 20
TEST_FUZZ_SECONDS ?= 15

# All tests run in the sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer); then every
# libFuzzer target (clang build) runs briefly on its seed corpus.
test: format-check debug
	ctest --preset debug -j $(JOBS)
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(TEST_FUZZ_SECONDS)

test-release: release
	ctest --preset release -j $(JOBS)

bench: release
	bash scripts/bench.sh build/release

# Whole processes timed with hyperfine beside what a user would use instead (installs hyperfine and networkx).
bench-processes: release
	bash scripts/bench_processes.sh build/release

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) bash scripts/fuzz.sh build/fuzz

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails, naming the files and lines, when a C++ file is not in the project's clang-format style.
format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror && echo "format-check: every C++ file is formatted"

clean:
	rm -rf build
