#!/usr/bin/env bash
# Builds Kestrelon and starts it on its embedded default, the simulated dialer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
"$root/tools/build.sh" "$root/build"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found: Kestrelon runs on Qt's offscreen platform (no window is visible)."
    echo "Its logs are written to its program directory; stop it with Ctrl+C."
    export QT_QPA_PLATFORM=offscreen
fi
exec "$root/build/kestrelon"
