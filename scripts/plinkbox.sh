#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Plinkbox developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Set up a fresh Debian 12 machine (as root) and build Plinkbox.
#   scripts/plinkbox.sh run    install what is missing, build, start Plinkbox
#   scripts/plinkbox.sh test   install what is missing, build, run every test
#   scripts/plinkbox.sh bench  install what is missing, build, run the benchmarks
#   scripts/plinkbox.sh package  install what is missing, build the Debian package plinkbox_*.deb
#   scripts/plinkbox.sh lint     every file states its licence (reuse lint); the areas of src/
#                                include what they link, in layers (area_graph.py); no file
#                                over 500 lines, no function over 80 (code_size.py)
#   scripts/plinkbox.sh sanitize  build with ASan and UBSan (gcc) and run every test
#   scripts/plinkbox.sh fuzz [SECONDS]  build the fuzz targets (clang) and run each SECONDS (60)
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
shift || true

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev libsndfile1-dev timgm6mb-soundfont libpcre2-dev
  fonts-noto-cjk qt6-translations-l10n dbus-daemon
)
[ "$mode" = bench ] && packages+=(libbenchmark-dev xvfb xdotool sndfile-programs)
[ "$mode" = package ] && packages+=(dpkg-dev file desktop-file-utils appstream lintian reuse)
[ "$mode" = lint ] && packages+=(reuse)
[ "$mode" = fuzz ] && packages+=(clang libclang-rt-14-dev llvm)

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
    cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLINKBOX_TESTS=ON \
      -DPLINKBOX_WERROR="${PLINKBOX_WERROR:-OFF}"
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
  package)
    cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLINKBOX_TESTS=OFF \
      -DCMAKE_INSTALL_PREFIX=/usr
    cmake --build build-package -j "$jobs"
    desktop-file-validate resources/plinkbox.desktop
    appstreamcli validate --no-net --pedantic resources/plinkbox.metainfo.xml
    reuse lint
    rm -f build-package/plinkbox_*.deb
    (cd build-package && cpack -G DEB)
    deb=$(ls build-package/plinkbox_*.deb)
    # Errors and warnings fail the package; notes (I:) are printed only.
    lintian --fail-on error,warning "$deb"
    echo "$deb"
    ;;
  lint)
    reuse lint
    python3 scripts/area_graph.py
    python3 scripts/code_size.py
    ;;
  sanitize)
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLINKBOX_TESTS=ON \
      -DPLINKBOX_WERROR="${PLINKBOX_WERROR:-OFF}" \
      -DPLINKBOX_SANITIZE=ON
    cmake --build build-sanitize -j "$jobs"
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
    ;;
  fuzz)
    seconds=${1:-60}
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLINKBOX_TESTS=OFF \
      -DPLINKBOX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
    cmake --build build-fuzz --target fuzzers -j "$jobs"
    # New inputs go to build-fuzz/corpus, findings to build-fuzz/findings; fuzz/corpus is only read.
    failed=()
    for seeds in fuzz/corpus/*/; do
      name=$(basename "$seeds")
      mkdir -p "build-fuzz/corpus/$name" "build-fuzz/findings/$name"
      echo "== fuzz_$name for ${seconds}s"
      "build-fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$name/" "build-fuzz/corpus/$name" "$seeds" ||
        failed+=("$name")
    done
    [ ${#failed[@]} -eq 0 ] || { echo "findings: ${failed[*]} (build-fuzz/findings)" >&2; exit 1; }
    ;;
  *)
    echo "usage: $0 run|test|bench|package|sanitize|fuzz" >&2
    exit 2
    ;;
esac
