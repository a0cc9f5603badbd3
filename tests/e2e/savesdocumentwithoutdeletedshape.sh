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

delete_first_shape "$main"

save_over "$main"

quit_velkor "$main"

expect_first_object_deleted "the saved document"
[ "$(grep -c '"class":' "$work/after.json")" -eq $(($(grep -c '"class":' "$work/before.json") - 1)) ] ||
    fail "the saved document does not hold exactly one object fewer"
echo "saved without the deleted shape"
