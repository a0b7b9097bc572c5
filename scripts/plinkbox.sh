#!/usr/bin/env bash
# Set up a fresh Debian 12 machine (as root) and build Plinkbox.
#   scripts/plinkbox.sh run    install what is missing, build, start Plinkbox
#   scripts/plinkbox.sh test   install what is missing, build, run every test
#   scripts/plinkbox.sh bench  install what is missing, build, run the benchmarks
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
shift || true

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev timgm6mb-soundfont
  fonts-noto-cjk qt6-translations-l10n
)
[ "$mode" = bench ] && packages+=(libbenchmark-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc)
case "$mode" in
  run)
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLINKBOX_TESTS=OFF
    cmake --build build --target plinkbox -j "$jobs"
    exec ./build/src/plinkbox "$@"
    ;;
  test)
    cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLINKBOX_TESTS=ON
    cmake --build build-test -j "$jobs"
    ctest --test-dir build-test --output-on-failure -j "$jobs"
    ;;
  bench)
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLINKBOX_TESTS=OFF -DPLINKBOX_BENCH=ON
    cmake --build build-bench -j "$jobs"
    for b in build-bench/bench/*/bench_*; do
      [ -f "$b" ] && [ -x "$b" ] || continue
      echo "== $b"
      SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=offscreen "$b" "$@"
    done
    ;;
  *)
    echo "usage: $0 run|test|bench" >&2
    exit 2
    ;;
esac
