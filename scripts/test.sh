#!/usr/bin/env bash
# Builds everything and runs every test (logic, database on every engine, screens offscreen), then
# builds it all again in build-asan with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test there too. Arguments go to both ctest runs. Fails when either run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The compiler cache keys each file by its paths inside the checkout, so a clone in another folder
# (CI's) compiles only what changed.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

failed=0
run() { # build folder, extra configure options…
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORREL_BUILD_TESTS=ON "$@" >/dev/null
    cmake --build "$dir"
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "${ctest_args[@]}") || failed=1
}
ctest_args=("$@")
run build
run build-asan -DSORREL_SANITIZE=ON
exit $failed
