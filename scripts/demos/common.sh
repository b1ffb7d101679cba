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

# A demo of one tool in two runs, each on a fresh copy of the program folder: the steps script
# (screenshots into the output folder), then the accessibility check of the tool's screen.
#   run_demo "$0" STEPS.py A11Y.py "name of the tool" "$@"
run_demo() {
  local self steps=$2 a11y=$3 what=$4
  self=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  shift 4
  if [ "${1:-}" = "--inside" ]; then
    local here
    here=$(dirname "$self")
    python3 "$here/$steps" "$2/demo" --shots "$3"
    echo "Accessibility tree of the $what:"
    a11y_check "$here/$a11y" "$2/a11y"
    return
  fi
  demo_setup "${1:?usage: $self OUTPUT_FOLDER}"
  cp -a "$build/program" "$work/demo"
  cp -a "$build/program" "$work/a11y"
  xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$self" --inside "$work" "$out"
}
