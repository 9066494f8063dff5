# Sourced by the test, bench and start scripts: a Wine prefix and an X display that belong to
# this run alone, and the clean-up of exactly what the run started.
#
#   wine_session_begin DIR [PREFIX]   starts Xvfb (unless DISPLAY_MODE=user) and a prefix
#   wine_session_end                  stops that prefix's wineserver and that Xvfb, by PID
#   wine_run ARGS...                  runs a Windows program (or wineboot, reg, winepath...)
#
# WINE_SESSION_ARCH chooses the prefix: win64 (default; Wine's 64-bit loader, which every
# machine of ours has) or win32 (the 32-bit loader, only where 32-bit programs start). The
# loader is always named: the wine wrapper script prefers the 32-bit one whenever it exists.

WINE_SESSION_XVFB_PID=""
WINE_SESSION_DIR=""
WINE_SESSION_OUTER_TMPDIR=""
WINE_SESSION_OUTER_TMPDIR_SET=""

wine_run() {
  "$WINELOADER" "$@"
}

wine_session_begin() {
  WINE_SESSION_DIR=$1
  local prefix=${2:-$WINE_SESSION_DIR/prefix}
  mkdir -p "$WINE_SESSION_DIR/tmp"
  case ${WINE_SESSION_ARCH:-win64} in
    win64) export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 ;;
    win32) export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine ;;
    *) echo "unknown Wine architecture ${WINE_SESSION_ARCH}" >&2; return 2 ;;
  esac
  [ -x "$WINELOADER" ] || { echo "Wine loader $WINELOADER is not installed" >&2; return 1; }
  export WINEPREFIX=$prefix
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree=;mshtml="
  # TMPDIR points into the session's folder until its end, then back to what it was: the
  # folder is usually removed after the session.
  WINE_SESSION_OUTER_TMPDIR=${TMPDIR-}
  WINE_SESSION_OUTER_TMPDIR_SET=${TMPDIR+yes}
  export TMPDIR=$WINE_SESSION_DIR/tmp

  if [ "${DISPLAY_MODE:-own}" = own ]; then
    local fdfile=$WINE_SESSION_DIR/display
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >"$WINE_SESSION_DIR/xvfb.log" 2>&1 &
    WINE_SESSION_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [ -s "$fdfile" ] && break
      sleep 0.1
    done
    [ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$(tr -d '[:space:]' <"$fdfile")"
  fi

  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine_run wineboot -i >"$WINE_SESSION_DIR/wineboot.log" 2>&1
    wineserver -w
    # Without a window manager Wine waits whenever a window is hidden; a crash must not
    # sit in a debugger window until the test's timeout.
    wine_run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wine_run reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
  fi
  # Start the server and its services before any test runner does, so that they do not
  # inherit the runner's output pipe.
  wineserver -p
  wine_run cmd /c exit </dev/null >"$WINE_SESSION_DIR/services.log" 2>&1 || true
}

wine_session_end() {
  if [ -n "${WINEPREFIX:-}" ]; then
    WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
    WINEPREFIX=$WINEPREFIX wineserver -w 2>/dev/null || true
  fi
  if [ -n "$WINE_SESSION_DIR" ]; then
    if [ "${WINE_SESSION_OUTER_TMPDIR_SET:-}" = yes ]; then
      export TMPDIR=$WINE_SESSION_OUTER_TMPDIR
    else
      unset TMPDIR
    fi
    WINE_SESSION_DIR=""
  fi
  if [ -n "$WINE_SESSION_XVFB_PID" ]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    WINE_SESSION_XVFB_PID=""
  fi
}
