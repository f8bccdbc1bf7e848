#!/usr/bin/env bash
# A terminal saves 300 returns on a failover cluster while its primary is killed once:
# every number it printed must be on the promoted node, none twice, and it must finish.
# Prints the longest pause between two stored numbers (what the clerk waited).
#   failover_saves.sh <shophost> <concurrent_saves>     (under tools/with-ha-postgres)
set -euo pipefail
shophost=$1 terminal=$2
if [ -z "${SHOP_HA_URL:-}" ]; then
    echo "no failover cluster (run under tools/with-ha-postgres)"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$shophost" --database "$SHOP_HA_URL" --check >/dev/null
count=300
# Each number with the time it was printed, in milliseconds.
"$terminal" "$SHOP_HA_URL" 1 "$count" 2>"$work/err" | while IFS= read -r number; do
    echo "$(date +%s%3N) $number"
done >"$work/numbers" &
saver=$!
for (( i = 0; i < 600; i++ )); do
    [ "$(wc -l <"$work/numbers")" -ge 50 ] && break
    sleep 0.1
done
$SHOP_HA_FAIL_PRIMARY
wait "$saver" || { echo "the terminal failed:"; cat "$work/err"; exit 1; }
printed=$(wc -l <"$work/numbers")
twice=$(cut -d' ' -f2 "$work/numbers" | sort | uniq -d | head -n 3)
cut -d' ' -f2 "$work/numbers" | sort >"$work/printed"
psql -X -A -t -d "$SHOP_HA_URL" -c "select WhNo from LOsPurchaseReturnHeader where whShopID = 1 and WhRemarks like 'Terminal save %'" \
    | sort >"$work/stored"
missing=$(comm -23 "$work/printed" "$work/stored" | head -n 3)
pause=$(awk 'NR > 1 && $1 - last > most { most = $1 - last } { last = $1 } END { print most + 0 }' "$work/numbers")
echo "printed $printed numbers; longest pause between two: $pause ms; stored on the promoted node: $(wc -l <"$work/stored")"
grep -c "the clerk was told" "$work/err" | sed 's/^/times the clerk was told the server was away: /' || true
status=0
[ "$printed" -eq "$count" ] || { echo "FAIL: $printed of $count numbers printed"; status=1; }
[ -z "$twice" ] || { echo "FAIL: printed twice: $twice"; status=1; }
[ -z "$missing" ] || { echo "FAIL: printed but not on the promoted node: $missing"; status=1; }
[ "$(wc -l <"$work/stored")" -eq "$count" ] || { echo "FAIL: the promoted node holds $(wc -l <"$work/stored") of the $count returns"; status=1; }
exit $status
