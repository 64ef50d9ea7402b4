#!/usr/bin/env bash
# End-to-end check of the main window, as a user meets it: starts the real heliora under a virtual X server on a
# date link and sees its window (500 wide, its icon set) with the date orange while it plays; presses Space and
# sees the date turn grey, then Space again and the speed unchanged (no button holds the focus unseen); clicks the
# forward button and sees the speed change, and the play button and sees the date turn grey; clicks Mars in the
# orrery where heliora-cli places it, twice, and sees two fact windows; plays again and sees the date move on; and
# ends heliora with SIGHUP, which must give exit status 0 (under the sanitizer build that includes the leak check).
# Screenshots go to OUT_DIR.
#
# usage: main_window.sh HELIORA HELIORA_CLI OUT_DIR
set -euo pipefail
arguments=3 name=main
source "$(dirname "$0")/../support/xtest.sh"
heliora=$1 cli=$2

"${heliora_env[@]}" "$heliora" 'heliora://?date=20240101' >"$log" 2>&1 &
pid=$!
main=$(timeout "$step_timeout" xdotool search --sync --onlyvisible --name '^Heliora$' | head -n 1) \
    || fail "heliora's window did not appear"
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH" -eq 500 ] && [ "$HEIGHT" -ge 700 ] || fail "the main window is ${WIDTH}x${HEIGHT}, not 500 x 700 or more"
bars=$((HEIGHT - 700))
has_icon() { xprop -len 16 -id "$main" _NET_WM_ICON 2>/dev/null | grep -q ' = '; }
wait_until "the main window has no icon" has_icon # set just after the first frame
import -window root "$out/main-start.png"

# The clock's buttons (32 square, 32 apart) are centred at the bottom, 16 above the edge; the speed label sits at
# the right end of the caption row above them.
play=(250 $((bars + 700 - 32))) forward=(314 $((bars + 700 - 32)))
speed_region="200x42+290+$((bars + 700 - 16 - 32 - 16 - 42))"
date_region=$(date_region "$main")
orange=$(pixels_like "$main" "$date_region" 255,159,10)
[ "$orange" -gt 50 ] || fail "the date is not orange while playing ($orange orange pixels)"

date_is_grey() {
    [ "$(pixels_like "$main" "$date_region" 142,142,147)" -gt 50 ] \
        && [ "$(pixels_like "$main" "$date_region" 255,159,10)" -eq 0 ]
}
speed=$(region_sum "$main" "$speed_region")
xdotool key --window "$main" space
wait_until "Space did not pause: the date is not grey" date_is_grey
paused=$(region_sum "$main" "$speed_region")
xdotool key --window "$main" space
wait_until "Space did not play again" region_differs "$paused" "$main" "$speed_region"
[ "$(region_sum "$main" "$speed_region")" = "$speed" ] || fail "Space changed the speed"
# One step faster (10,000 x: the date moves on a day in a few seconds), then the play button pauses.
xdotool mousemove --window "$main" "${forward[@]}" click 1
wait_until "the forward button did not change the speed" region_differs "$speed" "$main" "$speed_region"
xdotool mousemove --window "$main" "${play[@]}" click 1
wait_until "the play button did not pause" date_is_grey

# Mars, where heliora-cli places it for the link's date (the clock has run for a few seconds at most since). Fact
# windows open at the screen's origin without a window manager: the main window moves aside first.
read -r mars_x mars_y < <("$cli" render --date 2024-01-01T00:00:00Z --time-zone UTC --no-pluto -o "$work/o.png" \
    | awk '/"planet": "mars"/ { found = 1 } found && /"x"/ { gsub(/[",]/, ""); x = $2 }
           found && /"y"/ { gsub(/[",]/, ""); print x, $2; exit }')
[ -n "${mars_y:-}" ] || fail "heliora-cli render gave no position for Mars"
timeout "$step_timeout" xdotool windowmove --sync "$main" 700 100 || fail "could not move the main window"
xdotool mousemove --window "$main" "$(awk -v x="$mars_x" 'BEGIN { printf "%d", 33 + x + 0.5 }')" \
    "$(awk -v y="$mars_y" -v t="$bars" 'BEGIN { printf "%d", t + 133 + y + 0.5 }')" click 1
wait_for_windows Mars 1
import -window root "$out/main-mars.png"
xdotool click 1
wait_for_windows Mars 2

# Still running: play again, and the date moves on.
xdotool mousemove --window "$main" "${play[@]}" click 1
wait_until "the date did not move on" region_differs "$(region_sum "$main" "$date_region")" "$main" "$date_region"
import -window root "$out/main-end.png"
end_with HUP
echo "PASS: main window"
