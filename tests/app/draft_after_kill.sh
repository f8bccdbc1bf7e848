#!/usr/bin/env bash
# A clerk enters one line of a new return in a real shophost on a display of its own;
# the process is then killed outright (SIGKILL). The next start offers the line back,
# Yes opens it, and Ok stores it with its location row.
#   draft_after_kill.sh <shophost>
set -euo pipefail
shophost=$1
for tool in Xvfb xdotool sqlite3; do
    command -v "$tool" >/dev/null || { echo "no $tool"; exit 77; }
done
work=$(mktemp -d)
xvfb=""
host=""
cleanup() {
    [ -n "$host" ] && kill -9 "$host" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# Whatever step fails, what shophost said goes with the failure.
trap 'echo "failed at line $LINENO"; cat "$work/host.log" 2>/dev/null' ERR
exec 3>"$work/display"
# -noreset: the server would otherwise reset when the killed shophost was its last
# client, and refuse the next start's connection while it does.
Xvfb -displayfd 3 -noreset -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for (( i = 0; i < 100; i++ )); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")" HOME="$work" XDG_DATA_HOME="$work/data"
unset QT_QPA_PLATFORM
db="$work/shop.db"

start() {
    "$shophost" --database "$db" >>"$work/host.log" 2>&1 &
    host=$!
}
# Waits for a window by its exact title and gives it the keyboard.
focus() {
    local id
    id=$(timeout 20 xdotool search --sync --name "^$1\$" | head -n 1) || { echo "no window \"$1\""; cat "$work/host.log"; exit 1; }
    xdotool windowfocus --sync "$id"
    sleep 0.3
}
keys() { xdotool key --delay 150 "$@"; sleep 0.3; }

start
focus "Shop Purchase Return"
keys ctrl+Return
focus "Shop Purchase Return Details"
keys F10
focus "Stock Item Details"
xdotool type --delay 30 "5012345000059" # the rice, kept by location
keys Return
xdotool type --delay 30 "2"
keys Return Return Return Return       # the quantity, the proposed location and its quantity, Ok
for (( i = 0; i < 200; i++ )); do
    [ "$(sqlite3 "$db" "select line_count from shop_drafts")" = 1 ] && break
    sleep 0.1
done
{ kill -9 "$host"; wait "$host"; } 2>/dev/null || true
host=""
drafted=$(sqlite3 "$db" "select userid || '|' || shopid || '|' || line_count from shop_drafts")
[ "$drafted" = "1|1|1" ] || { echo "draft after the kill: '$drafted'"; exit 1; }
before=$(sqlite3 "$db" "select max(whid) from LOsPurchaseReturnHeader where whshopid = 1")

start
# The question comes over the register under the same title.
for (( i = 0; i < 200; i++ )); do
    [ "$(xdotool search --name "^Shop Purchase Return\$" 2>/dev/null | wc -l)" -ge 2 ] && break
    sleep 0.1
done
question=$(xdotool search --name "^Shop Purchase Return\$" | tail -n 1)
xdotool windowfocus --sync "$question"
sleep 0.3
keys Return                            # Yes, the default answer
focus "Shop Purchase Return Details"
keys Tab                               # from "Done By" to the remark, which Ok asks for
xdotool type --delay 30 "Torn sacks"
keys alt+o
for (( i = 0; i < 200; i++ )); do
    [ "$(sqlite3 "$db" "select count(*) from shop_drafts")" = 0 ] && break
    sleep 0.1
done
stored=$(sqlite3 "$db" "select h.WhUserName || '|' || h.WhRemarks || '|' || d.wditemid || '|' || d.wdpurchasereturnQty || '|' || l.lidLocationId
    from LOsPurchaseReturnHeader h join LOsPurchaseReturnDetail d on d.wdshopid = h.whshopid and d.wdid = h.whid
    join losLocationIssueDetails l on l.lidShopId = h.whshopid and l.lidTransId = h.whid and l.lidInterfaceId = 1901
    where h.whshopid = 1 and h.whid > $before")
[ "$stored" = "clerk|Torn sacks|5|2|1" ] || { echo "stored after the restore: '$stored'"; cat "$work/host.log"; exit 1; }
[ "$(sqlite3 "$db" "select count(*) from shop_drafts")" = 0 ] || { echo "the draft outlived the save"; exit 1; }
echo "draft survived the kill and was stored once restored"
