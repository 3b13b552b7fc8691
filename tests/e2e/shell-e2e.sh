#!/usr/bin/env bash
# The launcher end to end on Xvfb: start-up decisions, Alt+Space, `velmora --toggle`,
# centring, launching a fixture application by typing its name and pressing Return,
# and a screenshot of the shown launcher in the output folder.
# usage: shell-e2e.sh VELMORA_BINARY OUTPUT_DIR
set -uo pipefail
velmora=$1
out=$2

for tool in xvfb-run Xvfb xauth xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: '$tool' is not installed; the end-to-end test needs Xvfb (xvfb, xauth) and xdotool"
    exit 77
  fi
done
if [ -z "${VELMORA_E2E_ON_XVFB:-}" ]; then
  export VELMORA_E2E_ON_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "$0" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
       XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime XDG_DATA_DIRS=$work/share \
       QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR" \
         "$work/share/applications" "$out"
chmod 700 "$XDG_RUNTIME_DIR"
cat > "$work/share/applications/velmora-fixture.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Velmora Fixture
Exec=touch $work/fixture-ran
ENTRY

# A compositor makes the translucency and rounded corners visible in screenshots.
if command -v xcompmgr >/dev/null; then xcompmgr & pids+=($!); fi

failures=0
check() { # description, command...
  local what=$1; shift
  if "$@"; then echo "ok   - $what"; else echo "FAIL - $what"; failures=$((failures + 1)); fi
}
# True once `cond` holds, polling for up to ~5 s.
eventually() { for _ in $(seq 50); do "$@" && return 0; sleep 0.1; done; return 1; }
never() { for _ in $(seq 10); do "$@" && return 1; sleep 0.1; done; return 0; }
shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
launcher_shown() { shown "Velmora Launcher"; }
launcher_hidden() { ! launcher_shown; }
launcher_focused() { [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "Velmora Launcher" ]; }
onboarding_shown() { shown "Welcome to Velmora Launcher"; }
centred() {
  local id x y w h
  id=$(xdotool search --onlyvisible --name '^Velmora Launcher$' | head -1) || return 1
  eval "$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/G_\1=/p')"
  x=$((G_X + G_WIDTH / 2)); y=$((G_Y + G_HEIGHT / 2))
  [ "$G_WIDTH" -ge 640 ] && [ "$G_HEIGHT" -ge 580 ] && [ $((x - 640)) -ge -1 ] && [ $((x - 640)) -le 1 ] \
    && [ $((y - 400)) -ge -1 ] && [ $((y - 400)) -le 1 ]
}
start() { "$velmora" "$@" >>"$out/velmora.log" 2>&1 & pids+=($!); echo $! > "$work/pid"; }
stop() { kill "$(cat "$work/pid")" 2>/dev/null; wait "$(cat "$work/pid")" 2>/dev/null; }
onboarding_finished() { [ "$("$velmora" defaults read oobe.isOnboardingFinished 2>/dev/null)" = "true" ]; }

echo "# first launch: onboarding only"
start --verbose
check "onboarding window shown" eventually onboarding_shown
check "launcher stays hidden" never launcher_shown
xdotool key alt+space
check "Alt+Space shows the launcher" eventually launcher_shown
check "and gives it the keyboard" eventually launcher_focused
check "and closes onboarding" eventually eval '! onboarding_shown'
check "onboarding is finished" onboarding_finished
check "launcher is centred" centred

echo "# --toggle and the other messages"
check "--toggle exits 0" "$velmora" --toggle
check "--toggle hides" eventually launcher_hidden
"$velmora" --toggle
check "--toggle shows again" eventually launcher_shown
check "focused again" eventually launcher_focused
check "centred again" centred
xdotool type --delay 20 "fixture"
sleep 0.5
if command -v import >/dev/null; then
  /usr/bin/import -window root "$out/launcher.png" && echo "screenshot: $out/launcher.png"
fi
xdotool key Return
check "Return launches the typed application" eventually test -e "$work/fixture-ran"
check "and the launcher hides" eventually launcher_hidden
"$velmora" --show
check "--show brings it back" eventually launcher_shown
eventually launcher_focused
xdotool key alt+space
check "Alt+Space on the shown launcher hides it" eventually launcher_hidden
"$velmora" --show
check "--show shows" eventually launcher_shown
eventually launcher_focused
xdotool key Escape key alt+space
check "Escape then Alt+Space at once leaves it shown" never launcher_hidden
"$velmora" --hide
check "--hide hides" eventually launcher_hidden
"$velmora"
check "a plain second start reopens it" eventually launcher_shown
"$velmora" --toggle
eventually launcher_hidden
stop

echo "# normal start and login-item start"
start
check "normal start shows the launcher by itself" eventually launcher_shown
stop
rm -f "$XDG_RUNTIME_DIR"/*.socket
start --login-item
check "login-item start shows nothing" never launcher_shown
xdotool key alt+space
check "Alt+Space then shows it" eventually launcher_shown
stop

echo "# $failures failure(s)"
[ "$failures" -eq 0 ]
