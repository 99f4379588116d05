# The two commands a person needs: `make demo` (the main job on the sample network) and `make test`.
JOBS ?= $(shell nproc)

.PHONY: deps release debug demo test test-release bench fuzz format clean

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

# All tests run in the sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer).
test: debug
	ctest --preset debug -j $(JOBS)

test-release: release
	ctest --preset release -j $(JOBS)

bench: release
	bash scripts/bench.sh build/release

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	bash scripts/fuzz.sh build/fuzz

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
