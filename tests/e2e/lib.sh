# Shared steps of the end-to-end tests: a private virtual X server, a private home, the
# editor started and driven with xdotool as a person would, and cleanup on every exit.
# Sourced by the test scripts; exits 77 (skipped) only when no X server can be had.

set -uo pipefail

readonly SKIP=77
work=""
xvfb_pid=""
velkor_pid=""

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null 2>&1; then
        import -window root "$work/failure.png" 2>/dev/null && echo "screen: $work/failure.png" >&2
    fi
    exit 1
}

cleanup() {
    [ -n "$velkor_pid" ] && kill -9 "$velkor_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT

# start_display WORKDIR: a fresh work folder, an X server on a free display, and a home of
# its own so that settings, recent files and recovery files of the user stay untouched.
start_display() {
    work="$1"
    rm -rf "$work"
    mkdir -p "$work/home" "$work/runtime"
    chmod 700 "$work/runtime"
    if ! command -v Xvfb >/dev/null 2>&1 || ! command -v xdotool >/dev/null 2>&1; then
        echo "Xvfb or xdotool is not installed" >&2
        exit $SKIP
    fi
    # The server picks a free display itself and writes its number to descriptor 3.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
        2>"$work/xvfb.log" &
    xvfb_pid=$!
    local waited=0
    until [ -s "$work/display" ]; do
        if ! kill -0 "$xvfb_pid" 2>/dev/null || [ $waited -ge 100 ]; then
            cat "$work/xvfb.log" >&2
            echo "Xvfb did not start" >&2
            exit $SKIP
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    export DISPLAY=":$(head -n1 "$work/display")"
    export HOME="$work/home"
    export XDG_CONFIG_HOME="$work/home/.config"
    export XDG_DATA_HOME="$work/home/.local/share"
    export XDG_RUNTIME_DIR="$work/runtime"
    export QT_QPA_PLATFORM=xcb
    export LANG=C.UTF-8
    unset QT_SCALE_FACTOR
}

# start_velkor ARGS...: the editor in the background; its process id in velkor_pid.
start_velkor() {
    "$VELKOR" "$@" >>"$work/velkor.log" 2>&1 &
    velkor_pid=$!
}

# window_named REGEX [SECONDS]: the id of the editor's visible window whose title matches,
# waiting for it to appear.
window_named() {
    local id
    id=$(timeout "${2:-20}" xdotool search --all --sync --onlyvisible --pid "$velkor_pid" \
        --name "$1" 2>/dev/null | head -n1)
    [ -n "$id" ] || fail "no window titled /$1/ appeared"
    echo "$id"
}

# gone WINDOW [SECONDS]: waits until the window is no longer shown.
wait_gone() {
    local waited=0
    while xdotool search --all --onlyvisible --pid "$velkor_pid" --name "$1" >/dev/null 2>&1; do
        [ $waited -lt $((${2:-10} * 10)) ] || fail "window /$1/ stayed open"
        sleep 0.1
        waited=$((waited + 1))
    done
}

# press WINDOW KEYS...: keys typed into the window, which gets the keyboard first.
press() {
    local window="$1"
    shift
    timeout 5 xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    sleep 0.2
    xdotool key --clearmodifiers "$@"
}

# click_canvas WINDOW X Y: a left click at canvas pixel (X, Y). The canvas sits 192 pixels
# right of the window's left edge and 104 pixels below the menu bar, whose height depends
# on the font: about 24 pixels is assumed, so a target should extend some 30 pixels beyond
# the point on either side vertically.
click_canvas() {
    xdotool mousemove --window "$1" $((192 + $2)) $((24 + 104 + $3))
    sleep 0.2
    xdotool click 1
}

# double_click_canvas WINDOW X Y: two left clicks 120 ms apart, as a person double-clicks,
# at canvas pixel (X, Y) (placed as by click_canvas).
double_click_canvas() {
    xdotool mousemove --window "$1" $((192 + $2)) $((24 + 104 + $3))
    sleep 0.2
    xdotool click --repeat 2 --delay 120 1
}

# quit_velkor WINDOW: Ctrl+Q, then every question on the way out is answered with its
# cancel key (the program's closing question ends it whatever the answer); a question
# about unsaved changes fails the test, for everything should have been saved.
quit_velkor() {
    press "$1" ctrl+q
    local waited=0 box
    while kill -0 "$velkor_pid" 2>/dev/null; do
        for box in $(xdotool search --all --onlyvisible --pid "$velkor_pid" --name . 2>/dev/null); do
            [ "$box" = "$1" ] && continue
            [ "$(xdotool getwindowname "$box" 2>/dev/null)" = "保存修改" ] &&
                fail "asked to save changes that were saved"
            press "$box" Escape
        done
        [ $waited -lt 150 ] || fail "the editor did not end"
        sleep 0.1
        waited=$((waited + 1))
    done
    wait "$velkor_pid"
    local status=$?
    velkor_pid=""
    [ $status -eq 0 ] || fail "the editor ended with status $status"
}

# info FILE: the document's structure as vkdtool reads it.
info() {
    "$VKDTOOL" info --json "$1" 2>/dev/null || fail "vkdtool cannot read $1"
}

# without_first_object: the structure on stdin without the first object of the first view.
without_first_object() {
    awk '
        !found && /"objects": \[/ { found = 1; print; next }
        found == 1 && /^ *\{$/ { depth = 1; found = 2; next }
        found == 2 && depth > 0 {
            if ($0 ~ /[\[{]$/) depth++
            else if ($0 ~ /^ *[\]}],?$/) depth--
            next
        }
        { print }
    '
}

# delete_first_shape WINDOW: clicks the first shape of the first view and deletes it; the
# title then carries the unsaved mark. The shape covers canvas pixels 38..227 by 38..151.
delete_first_shape() {
    click_canvas "$1" 130 95
    press "$1" Delete
    window_named '^plan\.vkd \* - ' 10 >/dev/null
}

# save_over WINDOW: Ctrl+S, answers the overwrite question with yes, waits for the title
# without the unsaved mark.
save_over() {
    press "$1" ctrl+s
    local question
    question=$(window_named '^保存$' 10) || exit 1
    press "$question" Return
    wait_gone '^保存$'
    window_named '^plan\.vkd - ' 10 >/dev/null
}

# expect_first_object_deleted WHAT: plan.vkd now reads as before.json without its first
# object, nothing else changed; WHAT names the document in the failure message.
expect_first_object_deleted() {
    info "$work/plan.vkd" >"$work/after.json"
    without_first_object <"$work/before.json" >"$work/expected.json"
    diff -u "$work/expected.json" "$work/after.json" >"$work/diff.txt" ||
        fail "$1 differs in more than the deleted shape: $(head -c 2000 "$work/diff.txt")"
}
