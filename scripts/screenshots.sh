#!/usr/bin/env bash
# Screenshots of the launcher screen under Xvfb, from the fixture tree.
# usage: screenshots.sh VELMORA_BINARY OUTPUT_DIR [dark]
set -uo pipefail
velmora=$(readlink -f "$1")
out=$(readlink -f "$2")
scheme=${3:-light}
here=$(dirname "$(readlink -f "$0")")
if [ -z "${VELMORA_SHOTS_ON_XVFB:-}" ]; then
  export VELMORA_SHOTS_ON_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "$0" "$@"
fi
work=$(mktemp -d)
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
       XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime \
       XDG_DATA_DIRS=$work/share:/usr/share QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR" "$out"
chmod 700 "$XDG_RUNTIME_DIR"
"$here/make-screen-fixture.sh" "$work/share"
suffix=
if [ "$scheme" = dark ]; then
  # A dark system palette the way a Plasma session hands it to Qt: its colour scheme
  # in kdeglobals, read by Qt's own KDE theme.
  suffix=-dark
  export XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=5
  cat > "$XDG_CONFIG_HOME/kdeglobals" <<'KDE'
[Colors:Window]
BackgroundNormal=32,35,38
ForegroundNormal=252,252,252
[Colors:View]
BackgroundNormal=20,22,24
ForegroundNormal=252,252,252
[Colors:Button]
BackgroundNormal=41,44,48
ForegroundNormal=252,252,252
[Colors:Selection]
BackgroundNormal=61,174,233
ForegroundNormal=252,252,252
KDE
fi
"$velmora" defaults write oobe.isOnboardingFinished true >/dev/null
command -v xcompmgr >/dev/null && { xcompmgr & pids+=($!); }
# A desktop behind the translucent window.
xsetroot -solid '#5b6b8a' 2>/dev/null || true

shot() { sleep "${2:-0.8}"; /usr/bin/import -window root "$work/full.png"
         /usr/bin/convert "$work/full.png" -crop 760x640+260+80 +repage -resize 75% "$out/$1$suffix.png"; echo "shot $1$suffix"; }
start() { "$velmora" --verbose >>"$out/velmora.log" 2>&1 & pids+=($!); echo $! > "$work/pid"; sleep 3; }
stop() { kill "$(cat "$work/pid")" 2>/dev/null; wait "$(cat "$work/pid")" 2>/dev/null; rm -f "$XDG_RUNTIME_DIR"/*.socket; }
win() { xdotool search --onlyvisible --name '^Velmora Launcher$' | head -1; }
at() { local id; id=$(win); eval "$(xdotool getwindowgeometry --shell "$id")"; xdotool mousemove $((X + $1)) $((Y + $2)); }

start
"$velmora" --show; sleep 1
xdotool key Down Right; shot grid
# The launcher menu under the "…" button, then a tile's context menu.
# (Escape closes the menu and hides the launcher; --show brings it back.)
xdotool mousemove 924 144 click 1; shot menu 0.6; xdotool key Escape; sleep 0.3
"$velmora" --show; sleep 0.6
xdotool mousemove 393 280 click 3; shot context-menu 0.6; xdotool key Escape; sleep 0.3
"$velmora" --show; sleep 0.6
xdotool keydown ctrl; shot badges 0.5; xdotool keyup ctrl
xdotool keydown alt; shot category-list 0.6; xdotool key 3; shot category-focused 0.5; xdotool keyup alt
xdotool key alt+1 2>/dev/null; "$velmora" --hide; sleep 0.5; "$velmora" --show; sleep 0.8
xdotool type --delay 30 "cal"; shot search 0.6
xdotool key ctrl+a BackSpace; xdotool type --delay 30 "12*(3+4)"; shot calculator 0.6
xdotool key ctrl+a BackSpace; xdotool type --delay 30 "zzqx"; shot no-results 0.6
"$velmora" --hide; sleep 0.5; "$velmora" --show; sleep 0.8
# The editor: hover the first header, press its pencil.
xdotool mousemove 800 213; sleep 0.4; shot header-hover 0.3
xdotool mousemove 777 213 click 1; shot editor 0.8
xdotool key Escape; sleep 0.3
"$velmora" --show; sleep 0.5
# A tile dragged over the launcher: the drop list.
xdotool mousemove 420 260 mousedown 1; sleep 0.2
for step in 1 2 3 4 5 6; do xdotool mousemove $((420 + step * 20)) $((260 + step * 15)); sleep 0.05; done
shot drop-list 0.6
xdotool mouseup 1; sleep 0.5
stop
"$velmora" defaults write Launcher.viewType '"list"' >/dev/null
start; "$velmora" --show; sleep 1; shot list
stop
"$velmora" defaults write Launcher.viewType '"grid"' >/dev/null
"$velmora" defaults write settings.fullscreen true >/dev/null
start; "$velmora" --show; sleep 1.2
/usr/bin/import -window root "$work/full.png"; /usr/bin/convert "$work/full.png" -resize 50% "$out/fullscreen$suffix.png"; echo "shot fullscreen$suffix"
stop
