#!/usr/bin/env bash
# Takes the screenshots of the manual (doc/Anleitung.md) and the README from the real program
# under a virtual X server with a window manager (openbox), so that windows are maximised and
# have their title bars as a player sees them, driving it with xdotool, and writes them to
# doc/images/*.png. Each scene runs in an X server of its own, all at the same time (about
# three minutes); a scene that fails or takes longer than MENTARO_SCENE_TIMEOUT seconds (300)
# is run once more on its own. A scene that does not reach a window it expects keeps that
# picture's old file and is reported; run the script again after windows change.
# Usage: tools/screenshots.sh [PROGRAM]   (default: build/mentaro, with Hauptsta.FKL beside it)
# MENTARO_SCENES="game start" takes only some scenes (game text rings billiards start colours).
set -euo pipefail

if [ "${1:-}" = --scene ]; then
    scene=$2 program=$3 out=$4
    pid=
    window=
    wm=
    trap '[ -n "$pid" ] && kill $pid 2>/dev/null; [ -n "$wm" ] && kill $wm 2>/dev/null; true' EXIT

    # The window manager, ready once it names itself on the root window.
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
        { echo "openbox did not start in scene $scene"; exit 1; }

    key() { xdotool key --clearmodifiers --delay 80 "$@"; }
    focus() { timeout 5 xdotool windowactivate --sync "$1" 2>/dev/null || true; }
    # Waits up to $2 seconds (default 30) for a visible window whose title matches $1.
    wait_title() {
        local limit=$(( ${2:-30} * 10 ))
        for _ in $(seq "$limit"); do
            window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
            [ -n "$window" ] && return 0
            sleep 0.1
        done
        echo "no window \"$1\" in scene $scene"
        return 1
    }
    # Windows without a caption of their own (message boxes and the name dialog are small, the
    # question windows fill the screen), told apart from the known windows by size; only
    # windows of the program count (same X client as the main window).
    untitled() { # small|large [window to skip]
        local candidate
        for candidate in $(xdotool search --onlyvisible --name "" 2>/dev/null || true); do
            [ $((candidate & ~0x1FFFFF)) -eq $((main & ~0x1FFFFF)) ] || continue
            case " $main ${settings:-} ${2:-} " in *" $candidate "*) continue ;; esac
            eval "$(xdotool getwindowgeometry --shell "$candidate" 2>/dev/null || echo WIDTH=-1)"
            [ "$WIDTH" -ge 0 ] || continue
            if { [ "$1" = small ] && [ "$WIDTH" -lt 900 ]; } ||
               { [ "$1" = large ] && [ "$WIDTH" -ge 900 ]; }; then
                window=$candidate
                return 0
            fi
        done
        return 1
    }
    wait_untitled() { # small|large seconds [window to skip]
        for _ in $(seq $(( $2 * 10 ))); do
            untitled "$1" "${3:-}" && return 0
            sleep 0.1
        done
        echo "no $1 window without caption in scene $scene"
        return 1
    }
    # The whole screen, or only the window $2 with its frame, once it has been drawn.
    shot() {
        sleep "${SHOT_DELAY:-0.8}"
        if [ -n "${2:-}" ]; then
            import -window "$2" -frame "$out/$1.png"
        else
            import -window root "$out/$1.png"
        fi
        echo "$1.png"
    }
    # Types the path $2 into the file dialog titled $1 and confirms it; a second Enter takes
    # the file when the first one only accepted a completion.
    file_dialog() {
        local dialog
        wait_title "$1"
        dialog=$window
        focus "$dialog"
        xdotool type --delay 20 "$2"
        key Return
        for _ in $(seq 50); do
            xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
            sleep 0.1
        done
        focus "$dialog"
        key Return
    }
    start_program() {
        "$program" &
        pid=$!
        wait_title "^Fokulantorium"
        main=$window
    }
    open_settings() {
        focus "$main"
        key alt+m
        wait_title "^Merken und Wiedergeben"
        settings=$window
        focus "$settings"
    }
    # From the start button, "Stören durch" is two fields back; arrow keys move within it
    # (Texte above Hauptstädte, Kreise treffen above Billard beside them) and space chooses.
    choose_disturbance() {
        key shift+Tab shift+Tab
        key "$@" space
        focus "$settings"
        key alt+s
    }
    # Takes the picture $1 of the exercise window while it is captioned "$2 (round)"; kept only
    # if the phase lasted until the picture was taken.
    phase_shot() {
        xdotool search --onlyvisible --name "$2 \\($round\\)" >/dev/null 2>&1 || return 1
        SHOT_DELAY=0.3 shot "$1.try"
        if xdotool search --onlyvisible --name "$2 \\($round\\)" >/dev/null 2>&1; then
            mv "$out/$1.try.png" "$out/$1.png"
            return 0
        fi
        rm -f "$out/$1.try.png"
        return 1
    }
    # Types any answer in each round until the window $1 (a title, or "question" for a
    # window without caption) appears. With phases=1 it also photographs the memorise, wait
    # and reproduce phases, at the first round where each is caught.
    phases= memorise= waiting= reproduce=
    play_until() {
        local target=$1 round exercise found
        wait_title "(Merken|Warten|Wiedergeben) \\(" 60
        exercise=$window
        for round in 1 2 3 4 5 6; do
            found=
            for _ in $(seq 600); do
                if [ "$target" = question ]; then
                    untitled large "$exercise" && return 0
                elif window=$(xdotool search --onlyvisible --name "$target" 2>/dev/null | head -n 1) &&
                     [ -n "$window" ]; then
                    return 0
                fi
                if [ -n "$phases" ] && [ -z "$memorise" ] && phase_shot merken Merken; then
                    memorise=1
                fi
                if [ -n "$phases" ] && [ -z "$waiting" ] && phase_shot warten Warten; then
                    waiting=1
                fi
                if xdotool search --onlyvisible --name "Wiedergeben \\($round\\)" >/dev/null 2>&1; then
                    found=1
                    break
                fi
                sleep 0.1
            done
            [ -n "$found" ] || break
            focus "$exercise"
            xdotool type --delay 60 "4711"
            if [ -n "$phases" ] && [ -z "$reproduce" ]; then
                shot wiedergeben
                reproduce=1
            fi
            key Return
        done
        echo "no \"$target\" during the game in scene $scene"
        return 1
    }

    case $scene in
    start)
        start_program
        sleep 5 # the thirteen pins stand after about four seconds
        shot hauptfenster
        focus "$main"
        key alt+i i
        wait_title "^Info"
        shot info "$window"
        key Return
        open_settings
        shot einstellungen
        ;;
    game)
        start_program
        open_settings
        key alt+s
        wait_title "^St[^ ]*ren"
        shot hauptstaedte
        key Return
        phases=1
        if play_until question; then
            question=$window
            focus "$question"
            xdotool type --delay 60 "Rom"
            shot frage_hauptstadt
            # Only the right capital ends the question; the time limit ends this game.
            wait_untitled small 200 "$question"
            shot zeitueberschreitung "$window"
            focus "$window"
            key Return
            focus "$settings"
            key alt+l
        fi
        wait_title "^letztes Einzelergebnis"
        shot einzelergebnis
        results=$PWD/Ergebnisse.ERG
        focus "$window"
        key alt+m
        wait_untitled small 10
        focus "$window"
        xdotool type --delay 60 "Anna"
        shot name "$window"
        key Return
        file_dialog "^Speichern" "$results"
        focus "$settings"
        key alt+d d
        file_dialog "ffnen" "$results"
        wait_title "^gespeicherte Gesamtergebnisse"
        shot gesamtergebnisse
        ;;
    text | rings | billiards)
        start_program
        open_settings
        case $scene in
        text) choose_disturbance Left Up; play_until question; name=frage_text ;;
        rings) choose_disturbance Right Up; play_until "Ringe treffen"; name=ringe ;;
        billiards) choose_disturbance Right Down; play_until "Banden"; name=billard ;;
        esac
        shot $name
        ;;
    colours)
        start_program
        focus "$main"
        key alt+s Down Return
        wait_title "Farben merken"
        shot farben
        ;;
    esac
    exit 0
fi

root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/mentaro}")
[ -x "$program" ] || { echo "no program $program: make build first"; exit 1; }
capitals=$(dirname "$program")/Hauptsta.FKL
[ -f "$capitals" ] || { echo "no $capitals beside the program"; exit 1; }
out=$root/doc/images
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

scenes=(${MENTARO_SCENES:-game text rings billiards start colours})
limit=${MENTARO_SCENE_TIMEOUT:-300}
# Each scene gets an X server, a home and a working folder of its own, fresh for every try.
run_scene() {
    rm -rf "$work/$1"
    mkdir -p "$work/$1/home"
    cp "$capitals" "$work/$1/"
    (
        cd "$work/$1"
        HOME=$work/$1/home XDG_DATA_HOME=$work/$1/home/.local/share timeout --kill-after=10 "$limit" "$root/tools/with-xvfb.sh" 1366x768 \
            "$root/tools/screenshots.sh" --scene "$1" "$program" "$out"
    ) >"$work/$1.log" 2>&1
}
report() { # scene, status
    if [ "$2" -eq 0 ]; then
        echo "$1: $(grep -c '\.png$' "$work/$1.log") pictures"
        return
    fi
    [ "$2" -eq 124 ] && echo "$1 took longer than $limit s:" || echo "$1 failed:"
    { grep -v XDG_RUNTIME_DIR "$work/$1.log" || true; } | sed "s/^/    /"
}
pids=()
for scene in "${scenes[@]}"; do
    run_scene "$scene" &
    pids+=($!)
done
again=()
for i in "${!scenes[@]}"; do
    status=0
    wait "${pids[$i]}" || status=$?
    report "${scenes[$i]}" $status
    [ $status -eq 0 ] || again+=("${scenes[$i]}")
done
# A busy machine can make a scene miss a window; once more alone, it has the machine to itself.
failed=0
for scene in "${again[@]}"; do
    echo "$scene: once more"
    status=0
    run_scene "$scene" || status=$?
    report "$scene" $status
    [ $status -eq 0 ] || failed=1
done
exit $failed
