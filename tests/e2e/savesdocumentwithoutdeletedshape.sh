#!/usr/bin/env bash
# A person opens a copy of a document, clicks a shape, deletes it, saves over the file and
# quits: the saved file holds one object fewer and is otherwise unchanged.
# Usage: savesdocumentwithoutdeletedshape.sh VELKOR VKDTOOL DOCUMENT WORKDIR
VELKOR="$1"
VKDTOOL="$2"
source "$(dirname "$0")/lib.sh"
start_display "$4"

cp "$3" "$work/plan.vkd"
info "$work/plan.vkd" >"$work/before.json"
grep -q '"read_ok": true' "$work/before.json" || fail "the test document is damaged"

start_velkor "$work/plan.vkd"
main=$(window_named '^plan\.vkd - ') || exit 1

# The first shape of the first view covers canvas pixels 38..227 by 38..151 at 100 %.
click_canvas "$main" 130 95
press "$main" Delete
window_named '^plan\.vkd \* - ' 10 >/dev/null

press "$main" ctrl+s
question=$(window_named '^保存$' 10) || exit 1
press "$question" Return
wait_gone '^保存$'
window_named '^plan\.vkd - ' 10 >/dev/null

quit_velkor "$main"

info "$work/plan.vkd" >"$work/after.json"
without_first_object <"$work/before.json" >"$work/expected.json"
[ "$(grep -c '"class":' "$work/after.json")" -eq $(($(grep -c '"class":' "$work/before.json") - 1)) ] ||
    fail "the saved document does not hold exactly one object fewer"
diff -u "$work/expected.json" "$work/after.json" >"$work/diff.txt" ||
    fail "the saved document differs in more than the deleted shape: $(head -c 2000 "$work/diff.txt")"
echo "saved without the deleted shape"
