# Sourced by the scripts that run Windows programs: one Wine prefix for the
# project under build/, a display, and a persistent wineserver.
QB_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${QB_WINEPREFIX:-$QB_ROOT/build/wineprefix}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
QB_WINE=/usr/lib/wine/wine64
QB_WINESERVER=/usr/lib/wine/wineserver

qb_ensure_prefix() {
  mkdir -p "$QB_ROOT/build"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$QB_WINE" wineboot -i >/dev/null 2>&1 || true
    "$QB_WINESERVER" -w || true
  fi
}

# Whether display :n belongs to a running X server. A server that died
# leaves its lock and socket behind; those are not in the way.
qb_display_taken() {
  local lock="/tmp/.X$1-lock" pid
  [ -e "$lock" ] || [ -e "/tmp/.X11-unix/X$1" ] || return 1
  pid="$(tr -d ' \n' < "$lock" 2>/dev/null)"
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null
}

# Starts Xvfb when there is no display; the caller stops it with qb_stop_all.
qb_ensure_display() {
  QB_XVFB_PID=""
  if [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 599); do
      qb_display_taken "$n" && continue
      rm -f "/tmp/.X11-unix/X$n" "/tmp/.X$n-lock"
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      QB_XVFB_PID=$!
      for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      if kill -0 "$QB_XVFB_PID" 2>/dev/null; then export DISPLAY=":$n"; break; fi
      QB_XVFB_PID=""
    done
  fi
}

# A persistent server, and Wine's own services started now with no standard
# handles of ours: services started later by a test program would inherit
# its output pipe and keep the caller (ctest, a shell pipe) waiting forever.
qb_start_server() {
  "$QB_WINESERVER" -p >/dev/null 2>&1 || true
  "$QB_WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

qb_stop_all() {
  "$QB_WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "${QB_XVFB_PID:-}" ]; then kill "$QB_XVFB_PID" 2>/dev/null || true; wait "$QB_XVFB_PID" 2>/dev/null || true; fi
}
