# Sourced by the demos that run the real program under Xvfb.

# Installs what the demos need, builds the program when the build has none, and sets $build,
# $out (the absolute output folder, made) and $work (a scratch folder removed at exit).
demo_setup() {
  out=$1
  cd "$(dirname "${BASH_SOURCE[0]}")/../.."
  build=${TERVANO_BUILD_DIR:-build}
  scripts/deps.sh xvfb xauth imagemagick xdotool at-spi2-core python3-gi gir1.2-atspi-2.0 dbus
  if [ ! -x "$build/program/tervano-hra" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" -j"$(nproc)" --target tervano-hra
  fi
  mkdir -p "$out"
  out=$(cd "$out" && pwd)
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
}

# Runs an accessibility check (a Python script given a program folder) on a private D-Bus
# session with the accessibility bus, so the program's tree can be read.
a11y_check() {
  dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
    sleep 1
    /usr/bin/python3 "$0" "$1"; status=$?
    kill $launcher
    exit $status' "$1" "$2" 2>/dev/null
}
