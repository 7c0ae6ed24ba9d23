# The two commands of the README:
#   make run   installs what is missing, builds and starts the application
#   make test  installs what is missing, builds and runs every test through CTest
#   make package  builds the Debian package (build-package/sorvanta_*.deb)
PRESET ?= default

.PHONY: setup build run test package format format-check clean

setup:
	./scripts/setup-debian.sh

build: setup
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

run: build
	./build/app/sorvanta

test: build
	./scripts/check-format.sh
	ctest --preset $(PRESET)

package: setup
	cmake --preset package
	cmake --build --preset package

format:
	./scripts/check-format.sh --fix

clean:
	rm -rf build build-debug build-tsan build-asan build-package
