# The two commands: `make demo` runs the installer, `make test` runs every
# test (native, sanitizers, Windows under Wine). Both install what they need.
#
#   make deps        Debian packages (apt-get; i386 multiarch, deb-src entries)
#                    and the native 7z decoder built from Debian's source into $(CACHE)
#   make win32-deps  MinGW dependencies built from Debian sources into $(CACHE)
#   make native | asan | tsan | win32   one build each, in build/<name>
#   make bench       benchmarks, printed beside reference tools
CACHE ?= /var/cache/tarnvell
export TARNVELL_CACHE := $(CACHE)
# ccache hits across clones in other folders (CI builds a fresh clone):
# paths below the clone are hashed relative to it.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= true
JOBS ?= $(shell nproc)
GEN := -G Ninja

.PHONY: all deps win32-deps native asan tsan win32 test demo bench clean
all: native

deps:
	@bash scripts/install-deps.sh
	@bash scripts/build-native-deps.sh

win32-deps: deps
	@bash scripts/build-win32-deps.sh

build/native/build.ninja: | deps
	cmake -S . -B build/native $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
build/asan/build.ninja: | deps
	cmake -S . -B build/asan $(GEN) -DCMAKE_BUILD_TYPE=Debug -DTARNVELL_SANITIZE=address
build/tsan/build.ninja: | deps
	cmake -S . -B build/tsan $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNVELL_SANITIZE=thread
build/win32/build.ninja: | win32-deps
	cmake -S . -B build/win32 $(GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CACHE)/win32/mingw32.cmake

native: deps build/native/build.ninja
	cmake --build build/native -j$(JOBS)
asan: deps build/asan/build.ninja
	cmake --build build/asan -j$(JOBS)
tsan: deps build/tsan/build.ninja
	cmake --build build/tsan -j$(JOBS)
win32: win32-deps build/win32/build.ninja
	cmake --build build/win32 -j$(JOBS)

test: deps win32-deps
	@bash scripts/run-tests.sh

demo: native
	@bash scripts/demo.sh

bench: native
	@bash bench/run.sh

clean:
	rm -rf build
