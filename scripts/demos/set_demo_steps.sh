# The steps both set demos take through the set panel under Xvfb; sourced, with $out set.
shot() { import -window "$1" "$out/$2.png"; echo "  $out/$2.png"; }
pause() { sleep "${1:-0.5}"; }
panel() { timeout 20 xdotool search --sync --onlyvisible --name 'sady$' | head -1; }
box() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1; }
# A point of the panel, from its top left corner ($mx, $my).
click() { xdotool mousemove $((mx + $1)) $((my + $2)) click 1; }
