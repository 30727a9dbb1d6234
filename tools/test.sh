#!/usr/bin/env bash
# Builds Kestrelon and runs the whole test suite with ctest, once as a normal build and once
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
jobs="$(nproc)"

"$root/tools/build.sh" "$root/build"
(cd "$root/build" && ctest --output-on-failure --parallel "$jobs" --timeout 300)

"$root/tools/build.sh" "$root/build-sanitize" -DKESTRELON_SANITIZE=ON
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd "$root/build-sanitize" && ctest --output-on-failure --parallel "$jobs" --timeout 600)
