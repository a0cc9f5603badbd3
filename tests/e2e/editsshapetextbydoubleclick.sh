#!/usr/bin/env bash
# A person double-clicks a shape, types over its text in the window that opens in place,
# closes it with Esc, saves over the file and quits: the saved shape carries the typed
# text and the document keeps all its objects.
# Usage: editsshapetextbydoubleclick.sh VELKOR VKDTOOL DOCUMENT WORKDIR
VELKOR="$1"
VKDTOOL="$2"
source "$(dirname "$0")/lib.sh"
start_display "$4"

typed="Typed in place 42"
typed_hex=$(printf '%s' "$typed" | od -An -tx1 | tr -d ' \n')

# The text of the first shape of the first view: the hex of its record's first item.
first_record_hex() {
    grep -m1 '"hex":' "$1" | sed 's/.*"hex": "\([0-9a-f]*\)".*/\1/'
}

cp "$3" "$work/plan.vkd"
info "$work/plan.vkd" >"$work/before.json"
grep -q '"read_ok": true' "$work/before.json" || fail "the test document is damaged"
case "$(first_record_hex "$work/before.json")" in
"" | *"$typed_hex"*) fail "the first shape has no text record, or already the typed text" ;;
esac

start_velkor "$work/plan.vkd"
main=$(window_named '^plan\.vkd - ') || exit 1

# The first shape covers canvas pixels 38..227 by 38..151.
double_click_canvas "$main" 130 95
editor=$(window_named '^请输入文本' 10) || exit 1
press "$editor" ctrl+a
xdotool type --delay 30 "$typed"
sleep 0.3
press "$editor" Escape
wait_gone '^请输入文本'
window_named '^plan\.vkd \* - ' 10 >/dev/null

save_over "$main"
quit_velkor "$main"

info "$work/plan.vkd" >"$work/after.json"
case "$(first_record_hex "$work/after.json")" in
*"$typed_hex"*) ;;
*) fail "the saved shape does not carry the typed text: $(first_record_hex "$work/after.json")" ;;
esac
[ "$(grep -c '"class":' "$work/after.json")" -eq "$(grep -c '"class":' "$work/before.json")" ] ||
    fail "the saved document does not hold the same number of objects"
echo "the double-clicked shape was saved with the typed text"
