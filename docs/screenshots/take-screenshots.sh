#!/usr/bin/env bash
# Takes the window's screenshots in docs/screenshots: the main window with three terminals,
# the terminal edit dialog and the order view, in Japanese and in English, each on a virtual
# display of its own. Usage: docs/screenshots/take-screenshots.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
shots=$PWD/docs/screenshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target relaydesk relaydesk-cli QRM_UTIL QRM_ZO_RI QRM_LOGSVC >/dev/null
program=$work/program
mkdir -p "$program"
cp -r "$build"/bin/{relaydesk,relaydesk-cli,QRM_UTIL.so,QRM_ZO_RI.so,QRM_LOGSVC.so,librelaydesk_winmsg.so,MSG_ENG.ini,MSG_JPN.ini,ini} "$program/"
export RELAYDESK_LOG_DIR=$work/log RELAYDESK_REGISTRY=$work/registry.ini XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Three terminals: two reachable, one whose share is missing.
mkdir -p "$work/店頭/in" "$work/店頭/out" "$work/二階/in" "$work/二階/out" "$work/受付/out"
"$program/relaydesk-cli" terminal add --name 店頭キオスク --path "$work/店頭/in" --out-name 店頭出力 --out-path "$work/店頭/out" >/dev/null
"$program/relaydesk-cli" terminal add --name KIOSK-2F --path "$work/二階/in" --out-name OUT-2F --out-path "$work/二階/out" >/dev/null
"$program/relaydesk-cli" terminal add --name 受付 --path "$work/受付/in" --out-name 受付出力 --out-path "$work/受付/out" >/dev/null
"$program/relaydesk-cli" terminal enable 0 >/dev/null
"$program/relaydesk-cli" terminal enable 1 >/dev/null
# Finished orders of the second terminal, over a few days.
number=0
for day in 1 1 2 3 3 3 4; do
    number=$((number + 1))
    folder="$work/二階/out/o000$((1200 + number))"
    mkdir -p "$folder/IMAGE"
    touch -d "2026-03-0$day $((8 + number)):1$number:00" "$folder"
done

# One screen per picture: start the window, wait until it has checked its terminals, then
# click as the user would (offsets from the window's corner) and take the picture.
shoot() { # layout picture clicks...
    local layout=$1 picture=$2
    shift 2
    RELAYDESK_KEYBOARD_LAYOUT=$layout xvfb-run -a -s "-screen 0 1024x700x24" bash -c '
        program=$1 picture=$2
        shift 2
        "$program/relaydesk" & pid=$!
        window=$(xdotool search --sync --onlyvisible --classname relaydesk | head -1)
        sleep 3
        eval "$(xdotool getwindowgeometry --shell "$window")"
        for click in "$@"; do
            xdotool mousemove $((X + ${click%,*})) $((Y + ${click#*,})) click 1
            sleep 1
        done
        import -window root "$picture"
        kill "$pid"; wait "$pid"' shoot "$program" "$shots/$picture" "$@"
    echo "$shots/$picture"
}
row2=300,208 edit=166,428 orders=418,428
for language in ja:0411 en:0409; do
    name=${language%:*} layout=${language#*:}
    shoot "$layout" "main-$name.png"
    shoot "$layout" "edit-$name.png" "$row2" "$edit"
    shoot "$layout" "orders-$name.png" "$row2" "$orders"
done
