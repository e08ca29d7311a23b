#!/usr/bin/env bash
# Installs the engine from a build folder into a scratch prefix, then builds
# every example as a separate CMake project against that prefix only (as a
# user's game would be built), and runs each headless for a bounded number of
# steps; netpong plays over loopback between two processes. Also builds the
# hello example through pkg-config.
#   tools/test-install.sh BUILD_DIR [SCRATCH_DIR]
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
scratch=${2:-$(mktemp -d)}
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)
prefix=$scratch/prefix
export VESSIK_LOG=$scratch/vessik.log VESSIK_CONFIG=$scratch/none ALSOFT_DRIVERS=null

step() { printf '== %s\n' "$*"; }

step "install into $prefix"
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" > "$scratch/install.log"
test -f "$prefix/include/vessik/vessik.h"
test -f "$prefix/lib/cmake/Vessik/VessikConfig.cmake"
test -f "$prefix/lib/pkgconfig/vessik.pc"
# the sprite tool comes with the library and reads with the engine's reader
LD_LIBRARY_PATH=$prefix/lib "$prefix/bin/vessik-sprite" check "$source_dir/sprites/Surfer_sprite.txt" > /dev/null
# private headers stay inside the engine
if find "$prefix/include" -name 'Platform*.h' | grep -q .; then
    echo "a private header was installed" >&2
    exit 1
fi

# a shared library exports the public API and nothing of the platform layer
shared=$(find "$prefix/lib" -name 'libvessik.so' | head -n 1)
if [ -n "$shared" ]; then
    step "check what $shared exports"
    nm -DC --defined-only "$shared" | grep -q 'vk::GameManager::getInstance'
    if nm -DC --defined-only "$shared" | grep 'vk::platform::'; then
        echo "the shared library exports its platform layer" >&2
        exit 1
    fi
fi

for dir in "$source_dir"/examples/*/; do
    name=$(basename "$dir")
    step "build $name against the installed package"
    # a fresh copy outside the source tree, so nothing can reach back into it
    rm -rf "${scratch:?}/$name-src" "${scratch:?}/$name"
    cp -r "$dir" "$scratch/$name-src"
    cmake -S "$scratch/$name-src" -B "$scratch/$name" -DCMAKE_PREFIX_PATH="$prefix" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror" > "$scratch/$name-configure.log"
    cmake --build "$scratch/$name" -j 2 > "$scratch/$name-build.log"
done

run() { # name, then its arguments
    local name=$1
    shift
    (cd "$scratch/$name" && LD_LIBRARY_PATH=$prefix/lib timeout 60 "./$name" --headless "$@")
}
step "run hello"
run hello --steps 60
step "run pathfinding"
run pathfinding --steps 300 --goal 37 12
step "run netpong over loopback"
port=$((20000 + RANDOM % 20000))
run netpong --host "$port" --steps 150 &
host=$!
sleep 1
run netpong --join 127.0.0.1 "$port" --steps 150
wait "$host"

step "build hello with pkg-config"
PKG_CONFIG_PATH=$prefix/lib/pkgconfig g++ -std=c++17 -o "$scratch/hello-pc" "$source_dir/examples/hello/main.cpp" \
    $(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags --libs vessik)
(cd "$scratch/hello" && LD_LIBRARY_PATH=$prefix/lib timeout 60 "$scratch/hello-pc" --headless --steps 10)
step "all examples built and ran against $prefix"
