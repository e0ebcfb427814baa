# Sourced by the run and test scripts: a private X display and Wine prefix whose
# processes are ended by PID when the calling script exits.
# Usage: source scripts/wine-env.sh; kelpo_start_display [Xvfb args...]; kelpo_start_prefix

KELPO_XVFB_PID=""
KELPO_PREFIXES=()
KELPO_SHIM=""

# Some machines cannot run 32-bit programs at all: their kernel refuses i386
# executables with "Exec format error". Wine's launcher always tries its
# 32-bit loader first, so there every wine command (wine, winepath, ...) goes
# straight to the 64-bit loader, and what needs 32-bit Wine, kelpo32.exe and
# its tests, cannot run (scripts/test reports those layers as skipped).
# KELPO_WINE_64BIT_ONLY=1 takes that path where 32-bit programs do run, so
# that either kind of machine can try the other's.
if [ "${KELPO_WINE_64BIT_ONLY:-0}" = 1 ]; then
    KELPO_RUNS_32BIT=0
    KELPO_NO_32BIT_WHY="it refuses 32-bit programs (KELPO_WINE_64BIT_ONLY=1 took that path)"
elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
    KELPO_RUNS_32BIT=1
    KELPO_NO_32BIT_WHY=""
else
    KELPO_RUNS_32BIT=0
    KELPO_NO_32BIT_WHY="it refuses 32-bit programs"
fi
if [ "$KELPO_RUNS_32BIT" = 0 ]; then
    KELPO_SHIM=$(mktemp -d /tmp/kelpo-wine64.XXXXXX)
    for name in wine wine-stable; do
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$KELPO_SHIM/$name"
        chmod +x "$KELPO_SHIM/$name"
    done
    export PATH="$KELPO_SHIM:$PATH" WINELOADER=/usr/lib/wine/wine64
fi

# Wine's built-in programs through the 64-bit loader on every machine: where
# 32-bit programs run, the launcher starts them as 32-bit programs, and Wine 8's
# 32-bit taskkill does not see a 64-bit process.
KELPO_WINE64=/usr/lib/wine/wine64

kelpo_cleanup() {
    local p
    for p in "${KELPO_PREFIXES[@]}"; do
        WINEPREFIX="$p" timeout 20 wineserver -k >/dev/null 2>&1 || true
        rm -rf "$p"
    done
    KELPO_PREFIXES=()
    [ -z "$KELPO_SHIM" ] || rm -rf "$KELPO_SHIM"
    if [ -n "$KELPO_XVFB_PID" ]; then
        kill "$KELPO_XVFB_PID" 2>/dev/null || true
        wait "$KELPO_XVFB_PID" 2>/dev/null || true
        KELPO_XVFB_PID=""
    fi
}
trap kelpo_cleanup EXIT

# Starts Xvfb on the first free display number; extra arguments replace the default screen.
kelpo_start_display() {
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    local args=("$@")
    [ ${#args[@]} -gt 0 ] || args=(-screen 0 1280x800x24)
    Xvfb ":$n" "${args[@]}" -nolisten tcp >/dev/null 2>&1 &
    KELPO_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on :$n" >&2
    return 1
}

# Replaces the display (for instance by one with two screens) and restarts the
# prefix's server so Wine sees the new screens.
kelpo_restart_display() {
    timeout 60 wineserver -k >/dev/null 2>&1 || true
    if [ -n "$KELPO_XVFB_PID" ]; then
        kill "$KELPO_XVFB_PID" 2>/dev/null || true
        wait "$KELPO_XVFB_PID" 2>/dev/null || true
        KELPO_XVFB_PID=""
    fi
    kelpo_start_display "$@"
}

# A fresh prefix, booted once (kelpo_start_prefix). kelpo_prefix_env sets it up
# in this shell and kelpo_boot_prefix boots it, so a caller can boot in the
# background while it does other work.
kelpo_prefix_env() {
    export WINEPREFIX
    WINEPREFIX=$(mktemp -d /tmp/kelpo-wine.XXXXXX)
    KELPO_PREFIXES+=("$WINEPREFIX")
    export WINEDEBUG=-all WINEDLLOVERRIDES="$KELPO_OVERRIDES" WINEARCH=win64
}

# No Gecko or Mono installers at boot. Wine's own dwmapi for every process
# that is not told otherwise: once the window manager's test double lies in
# the prefix's system folders (kelpo_install_dwm_double), Wine would take it
# by default, being a real DLL where Wine keeps a placeholder.
KELPO_OVERRIDES="mscoree,mshtml=;dwmapi=b"
# The end-to-end tests and the program they start take the double instead.
KELPO_DWM_OVERRIDES="mscoree,mshtml=;dwmapi=n,b"

kelpo_install_dwm_double() {
    cp build/x86_64/dwm-double/dwmapi.dll "$WINEPREFIX/drive_c/windows/system32/" || return 1
    [ "$KELPO_RUNS_32BIT" = 0 ] || cp build/i686/dwm-double/dwmapi.dll "$WINEPREFIX/drive_c/windows/syswow64/"
}

kelpo_boot_prefix() {
    timeout 180 wine wineboot -i >/dev/null 2>&1
    # Debian keeps Wine's own fonts (Tahoma, and Marlett, which draws the
    # caption buttons' glyphs) in fonts-wine, where this Wine does not look:
    # without them a close button shows the letter "r". Wine loads every font
    # in the prefix's Fonts folder.
    if [ -d /usr/share/wine/fonts ]; then
        cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    # Unmanaged windows: with no window manager, Wine would otherwise wait two
    # seconds for one whenever a window is hidden, and draw no captions.
    kelpo_wine_reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    timeout 60 wineserver -k || true
}

kelpo_start_prefix() {
    kelpo_prefix_env
    kelpo_boot_prefix
}

# Restarts the prefix's wineserver, on one CPU when given one (its own processes
# then follow, being started from processes on that CPU), unpinned otherwise.
# Under Wine nearly every window call is a round trip to wineserver, and on a
# machine of several CPUs that round trip costs three to five times more when
# the caller and the server run on different CPUs, which the scheduler decides
# process by process and run by run. Throughput measurements pin both, so that
# every process pays the same price per system call.
# The first CPU this script may run on (a container need not own CPU 0).
KELPO_CPU=$(taskset -pc $$ 2>/dev/null | sed -nE 's/.*: *([0-9]+).*/\1/p')
KELPO_CPU=${KELPO_CPU:-0}

kelpo_restart_server() {
    timeout 60 wineserver -k >/dev/null 2>&1 || true
    timeout 60 wineserver -w >/dev/null 2>&1 || true
    if [ $# -gt 0 ]; then
        taskset -c "$1" wineserver -p
    fi
}

kelpo_wine_reg() {
    timeout 60 wine reg "$@" >/dev/null 2>&1
}

# Sets the desktop's DPI (96, 144, ...) for the programs started next.
kelpo_set_dpi() {
    kelpo_wine_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f
    timeout 60 wineserver -k || true
}

# Makes Wine report Windows 10 (win10) or Windows 7 (win7) to the programs
# started next (each reads it when it starts).
kelpo_set_windows_version() {
    kelpo_wine_reg add 'HKCU\Software\Wine' /v Version /d "$1" /f
}
