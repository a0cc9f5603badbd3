#!/usr/bin/env bash
# The editor is killed (SIGKILL) after an edit that was not saved: the next start offers
# the recovered document, which is the edited one, and the file on disk is untouched.
# Usage: offersworkofakillededitor.sh VELKOR VKDTOOL DOCUMENT WORKDIR
VELKOR="$1"
VKDTOOL="$2"
source "$(dirname "$0")/lib.sh"
start_display "$4"
# Unsaved work reaches the recovery file two seconds after its first change instead of a
# minute, so the test need not wait.
export VELKOR_AUTOSAVE_SECONDS=2

cp "$3" "$work/plan.vkd"
info "$work/plan.vkd" >"$work/before.json"

start_velkor "$work/plan.vkd"
main=$(window_named '^plan\.vkd - ') || exit 1
delete_first_shape "$main"

recovery="$XDG_DATA_HOME/velkor/recovery"
waited=0
until ls "$recovery"/*.vkd >/dev/null 2>&1; do
    [ $waited -lt 150 ] || fail "no recovery file was written in $recovery"
    sleep 0.1
    waited=$((waited + 1))
done
sleep 0.5
kill -9 "$velkor_pid"
wait "$velkor_pid" 2>/dev/null
velkor_pid=""
cmp -s "$3" "$work/plan.vkd" || fail "the document file changed without a save"

# The next start, without naming a file, offers the work; taking it shows the edited
# document as unsaved changes to plan.vkd.
start_velkor
offer=$(window_named '^恢复图形$' 20) || exit 1
press "$offer" Return
wait_gone '^恢复图形$'
main=$(window_named '^plan\.vkd \* - ' 10) || exit 1

# Saved over plan.vkd, the recovered work is the document without the deleted shape.
save_over "$main"
quit_velkor "$main"

expect_first_object_deleted "the recovered document"
ls "$recovery"/*.vkd >/dev/null 2>&1 && fail "recovery files remain after a clean exit"
echo "the killed editor's work was offered and recovered"
