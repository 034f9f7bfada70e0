# Entry points: `make run` starts the dictionary, `make test` builds everything and runs every test.
JOBS ?= $(shell nproc)

.PHONY: run test bootstrap native native-release windows articles bench clean

run: bootstrap native-release windows articles
	scripts/run

test: bootstrap native native-release windows articles
	scripts/test

bootstrap:
	@scripts/bootstrap

native:
	cmake --preset native >/dev/null
	cmake --build --preset native -j$(JOBS)

native-release:
	cmake --preset native-release >/dev/null
	cmake --build --preset native-release -j$(JOBS)

windows:
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j$(JOBS)

# The article files (out/articles) and the scrambled fixture sets (out/fixtures/articles).
articles: native-release
	scripts/articles

bench: bootstrap native-release
	scripts/bench

clean:
	rm -rf out/build
