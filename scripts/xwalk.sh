#!/usr/bin/env bash
# Walk the application by hand in a real X session: Xvfb, the openbox window manager and a
# session bus, under a temporary home that holds real duplicates. Drive it with xdotool and
# look at the screenshots.
#
#   scripts/xwalk.sh start [WxH] [SCALE]   set up the home, start X, openbox and the app
#   scripts/xwalk.sh shot NAME             screenshot the whole screen to $XWALK_DIR/NAME.png
#   scripts/xwalk.sh windows               list the top-level windows with their geometry
#   scripts/xwalk.sh x COMMAND...          run a command (xdotool, wmctrl...) on the display
#   scripts/xwalk.sh stop                  end the app, openbox and X (only what start began)
#   scripts/xwalk.sh walk [WxH] [SCALE]    start, then walk the whole road by itself: add the
#                                          home folder, scan, browse, preview, auto select,
#                                          review, Trash, similars, congratulations,
#                                          preferences, about, a window-manager close; shots
#                                          and notes (walk.log) land in $XWALK_DIR, then stop
#
# Environment: XWALK_DIR (default /tmp/xwalk) holds the home, the logs and the shots;
# XWALK_DISPLAY (default :77); SORVANTA (default build/app/sorvanta).
set -euo pipefail

dir=${XWALK_DIR:-/tmp/xwalk}
display=${XWALK_DISPLAY:-:77}
here=$(cd "$(dirname "$0")/.." && pwd)
app=${SORVANTA:-$here/build/app/sorvanta}

need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || {
            echo "xwalk: $tool is missing (apt-get install xvfb openbox xdotool x11-utils" \
                "imagemagick wmctrl dbus-x11)" >&2
            exit 1
        }
    done
}

# A home with what a user keeps: pictures and their copies, documents, a folder copied whole,
# two folders that are nearly the same, and an empty file twice.
make_home() {
    local home=$1
    rm -rf "$home"
    mkdir -p "$home"/{Desktop,Documents,Downloads,Music,Pictures,Videos} \
        "$home"/.config "$home"/.local/share "$home"/.cache
    local pics=$home/Pictures
    local i colour
    i=0
    for colour in tomato steelblue gold seagreen orchid; do
        i=$((i + 1))
        convert -seed "$i" -size 640x480 "plasma:$colour-white" "$pics/holiday-$i.jpg"
    done
    convert -size 400x300 gradient:navy-skyblue "$pics/beach.png"
    convert -size 800x600 xc:white -fill black -draw "circle 400,300 400,100" "$pics/circle.png"
    mkdir -p "$pics/Holiday" "$home/Downloads/Holiday copy"
    cp -a "$pics"/holiday-*.jpg "$pics/Holiday/"
    cp -a "$pics/Holiday/." "$home/Downloads/Holiday copy/"
    cp -a "$pics/beach.png" "$home/Downloads/beach (1).png"
    cp -a "$pics/beach.png" "$home/Desktop/beach.png"
    cp -a "$pics/circle.png" "$home/Documents/circle copy.png"

    local docs=$home/Documents
    for i in 1 2 3; do
        python3 - "$docs/report-$i.txt" "$i" <<'PY'
import sys
path, n = sys.argv[1], int(sys.argv[2])
with open(path, "w") as f:
    for line in range(400 * n):
        f.write(f"Quarterly report {n}, line {line}: figures and notes.\n")
PY
    done
    mkdir -p "$docs/Reports 2025" "$docs/Backup/Reports 2025"
    cp -a "$docs"/report-*.txt "$docs/Reports 2025/"
    cp -a "$docs/Reports 2025/." "$docs/Backup/Reports 2025/"
    # Similar folders: the same files but one each of their own.
    mkdir -p "$docs/Project/sub4" "$home/Downloads/Project old/sub4"
    for i in 1 2 3 4; do
        head -c $((20000 + i * 1000)) /dev/urandom >"$docs/Project/sub4/part-$i.bin"
    done
    cp -a "$docs/Project/sub4/." "$home/Downloads/Project old/sub4/"
    echo "only here" >"$docs/Project/sub4/notes.txt"
    echo "an old note of its own" >"$home/Downloads/Project old/sub4/old-notes.txt"
    head -c 300000 /dev/urandom >"$home/Music/song.ogg"
    cp -a "$home/Music/song.ogg" "$home/Downloads/song.ogg"
    head -c 900000 /dev/urandom >"$home/Videos/clip.mp4"
    cp -a "$home/Videos/clip.mp4" "$home/Downloads/clip (2).mp4"
    : >"$docs/empty.txt"
    : >"$home/Desktop/empty.txt"
}

pidfile() { echo "$dir/$1.pid"; }

start() {
    need Xvfb openbox xdotool dbus-run-session convert
    local size=${1:-1600x1000} scale=${2:-1}
    mkdir -p "$dir"
    make_home "$dir/home"
    Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >"$dir/xvfb.log" 2>&1 &
    echo $! >"$(pidfile xvfb)"
    for _ in $(seq 50); do
        DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    DISPLAY=$display HOME=$dir/home openbox >"$dir/openbox.log" 2>&1 &
    echo $! >"$(pidfile openbox)"
    sleep 1
    (
        cd "$dir/home"
        export DISPLAY=$display HOME=$dir/home QT_QPA_PLATFORM=xcb
        export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
        export XDG_CACHE_HOME=$HOME/.cache XDG_RUNTIME_DIR=$dir/run
        mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
        [ "$scale" = 1 ] || export QT_SCALE_FACTOR=$scale
        # The application's own pid, not the session bus runner's, so stop ends the app.
        exec dbus-run-session -- sh -c 'echo $$ >"$1"; exec "$2"' sh "$(pidfile app)" "$app"
    ) >"$dir/app.log" 2>&1 &
    for _ in $(seq 100); do
        DISPLAY=$display xdotool search --onlyvisible --class sorvanta >/dev/null 2>&1 && break
        sleep 0.1
    done
    echo "xwalk: display $display, home $dir/home, log $dir/app.log"
}

stop() {
    local name pid
    for name in app openbox xvfb; do
        # Give the application a moment to end on its own before X goes away.
        [ "$name" = openbox ] && sleep 1
        [ -f "$(pidfile "$name")" ] || continue
        pid=$(cat "$(pidfile "$name")")
        kill "$pid" 2>/dev/null || true
        rm -f "$(pidfile "$name")"
    done
}

X() { DISPLAY=$display "$@"; }
note() { echo "$*" | tee -a "$dir/walk.log"; }
shoot() {
    X import -window root "$dir/$1.png"
    note "shot $dir/$1.png"
}
# The main window's geometry "X Y W H": the first top-level window titled Sorvanta.
main_geometry() {
    X wmctrl -l -G | awk '{ g = $3 " " $4 " " $5 " " $6; for (i = 1; i <= 7; i++) $i = ""
        sub(/^ +/, "") } $0 == "Sorvanta" { print g; exit }'
}
# The title of the first top-level window that is not titled Sorvanta (a preview, a panel).
other_window() {
    X wmctrl -l | awk '{ $1 = $2 = $3 = ""; sub(/^ +/, "") } $0 != "Sorvanta" { print; exit }'
}
has_window() { X wmctrl -l | awk -v t="$1" '{ $1 = $2 = $3 = ""; sub(/^ +/, "") } $0 == t { f = 1 } END { exit !f }'; }
# Waits until the main window's geometry has held for 2.5 s and differs from every geometry
# given; prints it.
wait_settled() {
    local last="" same=0 now
    for _ in $(seq 120); do
        now=$(main_geometry)
        if [ -n "$now" ] && [ "$now" = "$last" ]; then
            same=$((same + 1))
        else
            same=0
        fi
        last=$now
        if [ "$same" -ge 5 ]; then
            local seen=0 g
            for g in "$@"; do [ "$g" = "$now" ] && seen=1; done
            [ "$seen" = 0 ] && echo "$now" && return 0
        fi
        sleep 0.5
    done
    echo "$last"
}
# Clicks at (DX, DY) points from the main window's bottom-right corner, at the scale.
click_from_bottom_right() {
    local x y w h
    read -r x y w h <<<"$(main_geometry)"
    click_at $((x + w - $1 * scale)) $((y + h - $2 * scale)) "$3"
}
# Clicks at screen point (X, Y) unless it lies off the screen, which the notes then say.
click_at() {
    local sw sh
    read -r sw sh <<<"$(X xdotool getdisplaygeometry)"
    if [ "$1" -lt 0 ] || [ "$2" -lt 0 ] || [ "$1" -ge "$sw" ] || [ "$2" -ge "$sh" ]; then
        note "  $3 lies off the screen at ($1, $2): not clicked"
        return 0
    fi
    X xdotool mousemove "$1" "$2" click 1
}
# Clicks at (DX, DY) points from the main window's top-left corner, at the scale.
click_from_top_left() {
    local x y w h
    read -r x y w h <<<"$(main_geometry)"
    click_at $((x + $1 * scale)) $((y + $2 * scale)) "$3"
}
# Opens the application menu (the first in the window's menu bar) and takes its Nth item.
app_menu_item() {
    local x y w h
    read -r x y w h <<<"$(main_geometry)"
    click_at $((x + 116 * scale)) $((y + 15 * scale)) "the application menu"
    sleep 0.6
    X xdotool key --repeat "$1" --delay 60 Down
    X xdotool key Return
}
# Closes a secondary window titled |1| with Escape; says whether that worked, and closes it
# from the window manager when it did not.
close_with_escape() {
    if ! has_window "$1"; then
        note "  \"$1\" did not open"
        return 0
    fi
    X xdotool key Escape
    sleep 0.7
    if has_window "$1"; then
        note "  Escape left \"$1\" open; closed by the window manager"
        X wmctrl -c "$1"
        sleep 0.7
    else
        note "  Escape closed \"$1\""
    fi
}

walk() {
    scale=${2:-1}
    start "$@"
    : >"$dir/walk.log"
    note "walk at ${1:-1600x1000}, scale $scale"
    sleep 2
    local welcome scan results
    welcome=$(main_geometry)
    note "welcome window: $welcome"
    shoot 01-welcome
    X xdotool key Return
    sleep 1.5
    note "windows with the folder chooser:" && X wmctrl -l -G | tee -a "$dir/walk.log"
    shoot 02-chooser
    X xdotool key ctrl+l
    X xdotool type "$dir/home"
    X xdotool key Return
    sleep 1
    shoot 03-folder-added
    X xdotool key Return
    sleep 0.5
    shoot 04-scanning
    scan=$(wait_settled "$welcome")
    note "scan window: $scan"
    local sw sh
    read -r sw sh <<<"$(X xdotool getdisplaygeometry)"
    if [ "$scan" = "0 0 $sw $sh" ]; then
        # On a small screen the scan and the results windows both fill it: no change of
        # size tells when the results are in, so give them the time they take.
        sleep 12
        results=$(main_geometry)
    else
        results=$(wait_settled "$welcome" "$scan")
    fi
    note "results window: $results"
    shoot 05-results-help
    X xdotool key Escape
    sleep 0.7
    shoot 06-overview
    X xdotool key ctrl+2
    sleep 2
    shoot 07-all-files-help
    X xdotool key Escape
    sleep 0.7
    shoot 08-all-files
    # The list the help covered has the keyboard again: Down moves to the second group and
    # Space previews it.
    X xdotool key Down
    sleep 0.5
    X xdotool key space
    sleep 1.2
    note "windows with the preview:" && X wmctrl -l -G | tee -a "$dir/walk.log"
    shoot 09-preview
    local preview
    preview=$(other_window)
    if [ -n "$preview" ]; then
        close_with_escape "$preview"
    else
        note "  Down and Space after the help closed opened no preview"
    fi
    X xdotool key ctrl+shift+a
    sleep 1
    shoot 10-auto-selected
    X xdotool key ctrl+shift+s
    sleep 1.5
    shoot 11-review
    click_from_bottom_right 81 33 "the review panel's Remove"
    sleep 3
    shoot 12-after-removal
    note "trash: $(ls "$dir/home/.local/share/Trash/files" 2>/dev/null | wc -l) files," \
        "$(ls "$dir/home/.local/share/Trash/info" 2>/dev/null | wc -l) .trashinfo"
    X xdotool key ctrl+0
    sleep 2
    X xdotool key Escape
    sleep 0.7
    shoot 13-similars
    X xdotool key ctrl+1
    sleep 1.5
    shoot 14-overview-after-removal
    X xdotool key ctrl+2
    sleep 1
    X xdotool key ctrl+shift+k
    sleep 1
    X xdotool key ctrl+shift+s
    sleep 1.5
    shoot 15-review-the-rest
    click_from_bottom_right 81 33 "the review panel's Remove"
    sleep 3
    shoot 16-congratulations
    app_menu_item 4
    sleep 1.5
    note "windows with Preferences:" && X wmctrl -l -G | tee -a "$dir/walk.log"
    shoot 17-preferences
    close_with_escape Preferences
    app_menu_item 1
    sleep 1.5
    note "windows with About:" && X wmctrl -l -G | tee -a "$dir/walk.log"
    shoot 18-about
    close_with_escape "About Sorvanta"
    X wmctrl -c Sorvanta
    sleep 2
    shoot 19-after-window-manager-close
    if kill -0 "$(cat "$(pidfile app)")" 2>/dev/null; then
        note "after the window manager's close the application still runs; windows:"
        X wmctrl -l -G | tee -a "$dir/walk.log"
    else
        note "the window manager's close ended the application"
    fi
    stop
}

case ${1:-} in
start) shift && start "$@" ;;
walk) shift && walk "$@" ;;
stop) stop ;;
shot)
    mkdir -p "$dir"
    DISPLAY=$display import -window root "$dir/$2.png"
    echo "$dir/$2.png"
    ;;
windows) DISPLAY=$display wmctrl -l -G ;;
x) shift && DISPLAY=$display "$@" ;;
*)
    sed -n '2,19p' "$0"
    exit 2
    ;;
esac
