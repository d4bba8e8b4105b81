# Shared by the end-to-end scenarios: a private Xvfb display, the program started on it with
# software GL and no sound card, waits with timeouts, screenshots, and cleanup on any exit.
# Source it, then call start_xvfb, start_program and the checks.
set -euo pipefail

PROGRAM=${1:?usage: $0 path/to/vornasto}
readonly DIALOG_TITLE="Vor3020"
readonly SHOW_TITLE="Vornasto 2010 by Tirk"

E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/vornasto-e2e.XXXXXX")
XVFB_PID=""
PROGRAM_PID=""
PROGRAM_RC=""
RSS_PID=""

cleanup() {
    if [ -n "$RSS_PID" ]; then
        kill "$RSS_PID" 2>/dev/null || true
        wait "$RSS_PID" 2>/dev/null || true
    fi
    if [ -n "$PROGRAM_PID" ] && kill -0 "$PROGRAM_PID" 2>/dev/null; then
        kill -KILL "$PROGRAM_PID" 2>/dev/null || true
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    rm -rf "$E2E_TMP"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

fail() {
    echo "FAIL: $*" >&2
    for log in stdout stderr; do
        if [ -s "$E2E_TMP/$log" ]; then
            echo "--- program $log ---" >&2
            tail -n 40 "$E2E_TMP/$log" >&2
        fi
    done
    exit 1
}

# wait_for SECONDS WHAT COMMAND...: runs COMMAND every 0.1 s until it succeeds.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            fail "no $what within ${seconds} s"
        fi
        sleep 0.1
    done
}

# start_xvfb [WIDTHxHEIGHT]: a display of its own; Xvfb picks a free number and reports it. The
# root window is white, so whatever the program has not drawn stands out from its black.
start_xvfb() {
    local size=${1:-1280x720}
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -wr 3>"$E2E_TMP/display" \
        2>"$E2E_TMP/xvfb.log" &
    XVFB_PID=$!
    wait_for 15 "Xvfb display" test -s "$E2E_TMP/display"
    DISPLAY=":$(head -n 1 "$E2E_TMP/display")"
    export DISPLAY
    unset WAYLAND_DISPLAY
}

# start_program [ARGUMENT...]
start_program() {
    SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 \
        "$PROGRAM" "$@" >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr" &
    PROGRAM_PID=$!
}

# The id of the visible window titled exactly $1; fails when there is none.
window_id() {
    xdotool search --onlyvisible --name "^$1\$" | head -n 1 | grep .
}

wait_for_window() {
    wait_for "${2:-15}" "window \"$1\"" window_id "$1"
    window_id "$1"
}

# press WINDOW KEY...: gives the window the keyboard (there is no window manager) and types.
press() {
    local window=$1
    shift
    xdotool windowfocus "$window"
    sleep 0.2
    xdotool key --delay 100 "$@"
}

# wait_for_exit SECONDS: waits for the program and sets PROGRAM_RC. Remembers in SHOW_SEEN
# whether a render window showed up meanwhile.
SHOW_SEEN=no
wait_for_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$PROGRAM_PID" 2>/dev/null; do
        if window_id "$SHOW_TITLE" >/dev/null 2>&1; then
            SHOW_SEEN=yes
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            fail "the program did not end within $1 s"
        fi
        sleep 0.1
    done
    PROGRAM_RC=0
    wait "$PROGRAM_PID" || PROGRAM_RC=$?
    PROGRAM_PID=""
}

expect_clean_exit() {
    [ "$PROGRAM_RC" = 0 ] || fail "exit code $PROGRAM_RC, expected 0"
    [ ! -s "$E2E_TMP/stderr" ] || fail "the program reported on standard error"
}

# The largest channel value in a region of the screen (0 is black): region_max W H X Y.
region_max() {
    import -display "$DISPLAY" -window root "$E2E_TMP/screen.png"
    convert "$E2E_TMP/screen.png" -crop "$1x$2+$3+$4" +repage -format '%[max]' info:
}

region_is_black() {
    [ "$(region_max "$@")" = 0 ]
}

region_is_not_black() {
    [ "$(region_max "$@")" != 0 ]
}

# start_rss_sampler: from now on, the program's resident memory once a second into
# $E2E_TMP/rss, one "seconds kB" line per sample, seconds counted from this call. It stops by
# itself when the program ends.
start_rss_sampler() {
    local pid=$PROGRAM_PID
    (
        local start=$SECONDS
        while kill -0 "$pid" 2>/dev/null; do
            awk -v s=$((SECONDS - start)) '/^VmRSS:/ { print s, $2 }' "/proc/$pid/status" \
                >>"$E2E_TMP/rss" 2>/dev/null || true
            sleep 1
        done
    ) &
    RSS_PID=$!
}

# expect_flat_rss WARMUP TOLERANCE_MB: after the first WARMUP seconds of samples, the highest
# and the lowest resident memory lie within TOLERANCE_MB of each other. Prints the figures, and
# keeps the samples in the file $E2E_RSS_TRACE when that is set.
expect_flat_rss() {
    local warmup=$1 tolerance=$2 summary
    if [ -n "$RSS_PID" ]; then
        wait "$RSS_PID" 2>/dev/null || true
        RSS_PID=""
    fi
    if [ -n "${E2E_RSS_TRACE:-}" ]; then
        cp "$E2E_TMP/rss" "$E2E_RSS_TRACE" || true
    fi
    summary=$(awk -v w="$warmup" '
        NR == 1 { first = $2 }
        $1 >= w { if (n++ == 0) { at = lo = hi = $2 } last = $2; if ($2 < lo) lo = $2; if ($2 > hi) hi = $2 }
        END {
            if (n == 0) exit 1
            printf "%.1f %.1f %.1f %.1f %.1f %.1f %d\n", first / 1024, at / 1024, last / 1024,
                   lo / 1024, hi / 1024, (hi - lo) / 1024, n
        }' "$E2E_TMP/rss") || fail "no resident memory sample after ${warmup} s"
    read -r first at last lo hi range count <<<"$summary"
    echo "RSS (MB): first $first, at ${warmup} s $at, last $last; after ${warmup} s $lo to $hi" \
        "(range $range over $count samples)"
    awk -v r="$range" -v t="$tolerance" 'BEGIN { exit !(r <= t) }' ||
        fail "resident memory moved by $range MB after ${warmup} s (tolerance $tolerance MB)"
}
