# Sourced by the scripts that run Windows programs: the project's Wine prefix
# under build/, a copy of it for each run, a display of the run's own and the
# run's own wineserver.
QB_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${QB_WINEPREFIX:-$QB_ROOT/build/wineprefix}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
QB_WINE=/usr/lib/wine/wine64
QB_WINESERVER=/usr/lib/wine/wineserver
QB_WINE_INF=/usr/share/wine/wine.inf

# Whether the prefix exists and Wine would not update it on its next start
# (an update rewrites the system DLLs, which run prefixes share).
qb_prefix_current() {
  [ -f "$WINEPREFIX/system.reg" ] || return 1
  grep -qs '^"Managed"="N"' "$WINEPREFIX/user.reg" || return 1
  local stamp
  stamp="$(tr -d '\r\n' < "$WINEPREFIX/.update-timestamp" 2>/dev/null)"
  [ "$stamp" = disable ] || [ ! -f "$QB_WINE_INF" ] || [ "$stamp" = "$(stat -c %Y "$QB_WINE_INF")" ]
}

# Makes the prefix, or brings it up to date, once; runs starting together
# take turns on its lock.
qb_ensure_prefix() {
  qb_prefix_current && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if ! qb_prefix_current; then
      "$QB_WINE" wineboot -u >/dev/null 2>&1 || true
      # The display has no window manager. Windows it would manage are
      # waited on for two seconds each time one hides (every message box
      # and dialog that closes); unmanaged, they hide at once and Wine
      # draws their frames itself.
      "$QB_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
      "$QB_WINESERVER" -w || true
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Prefixes of runs whose script is gone (killed before it could clean up).
# One without its owner's mark yet may be a run's that is starting now.
qb_remove_stale_run_prefixes() {
  local d owner
  for d in "$QB_ROOT"/build/wineprefix-run.*; do
    [ -d "$d" ] || continue
    owner="$(cat "$d/.qb-owner" 2>/dev/null)"
    if [ -n "$owner" ]; then kill -0 "$owner" 2>/dev/null && continue
    else [ -n "$(find "$d" -maxdepth 0 -mmin +60)" ] || continue; fi
    rm -rf -- "$d"
  done
}

# A prefix of this run's own, copied from the project's, so that runs at once
# have their own registry, user folders, wineserver and desktop and cannot
# stop each other's server. The system DLLs, nearly all of its size and never
# written, are hard links; the copy never updates itself.
qb_run_prefix() {
  qb_ensure_prefix
  qb_remove_stale_run_prefixes
  local base="$WINEPREFIX" run d
  run="$(mktemp -d "$QB_ROOT/build/wineprefix-run.XXXXXX")"
  echo $$ > "$run/.qb-owner"
  (
    flock -s 9
    cd "$base" &&
      tar --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/syswow64 -cf - . | tar -C "$run" -xf - &&
      for d in drive_c/windows/system32 drive_c/windows/syswow64; do
        [ -d "$d" ] || continue
        cp -al "$d" "$run/$d" 2>/dev/null || cp -a "$d" "$run/$d"
      done
  ) 9>"$base.lock" || { rm -rf -- "$run"; echo "wine-env: copying the prefix $base failed" >&2; return 1; }
  echo disable > "$run/.update-timestamp"
  QB_RUN_PREFIX="$run"
  export WINEPREFIX="$run" QB_WINEPREFIX="$run"
}

# Whether display :n belongs to a running X server. A server that died
# leaves its lock and socket behind; those are not in the way.
qb_display_taken() {
  local lock="/tmp/.X$1-lock" pid
  [ -e "$lock" ] || [ -e "/tmp/.X11-unix/X$1" ] || return 1
  pid="$(tr -d ' \n' < "$lock" 2>/dev/null)"
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null
}

# Starts an Xvfb of the run's own (QB_DISPLAY names a display to use
# instead): runs on one display would move each other's pointer. The caller
# stops it with qb_stop_all.
qb_ensure_display() {
  QB_XVFB_PID=""
  if [ -n "${QB_DISPLAY:-}" ]; then export DISPLAY="$QB_DISPLAY"; return; fi
  unset DISPLAY
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
}

# The run's server, and Wine's own services started now with no standard
# handles of ours: services started later by a test program would inherit
# its output pipe and keep the caller (ctest, a shell pipe) waiting forever.
# Should the script be killed, the server still ends a minute after its last
# program.
qb_start_server() {
  "$QB_WINESERVER" -p60 >/dev/null 2>&1 || true
  "$QB_WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

# Stops what this run started, and only that: its own prefix's server (no
# other run uses it), the prefix copy and its display.
qb_stop_all() {
  if [ -n "${QB_RUN_PREFIX:-}" ]; then
    WINEPREFIX="$QB_RUN_PREFIX" "$QB_WINESERVER" -k >/dev/null 2>&1 || true
    WINEPREFIX="$QB_RUN_PREFIX" "$QB_WINESERVER" -w >/dev/null 2>&1 || true
    rm -rf -- "$QB_RUN_PREFIX"
    QB_RUN_PREFIX=""
  fi
  if [ -n "${QB_XVFB_PID:-}" ]; then kill "$QB_XVFB_PID" 2>/dev/null || true; wait "$QB_XVFB_PID" 2>/dev/null || true; fi
}
