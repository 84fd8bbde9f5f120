#!/bin/sh
# The product's main job: a player starts Vantorel, which picks a pilot, clears the custom taunts
# and logos that are not kept, and starts the game. This script prepares a game folder with a
# stand-in main.exe (it records how it was started), three pilots and custom sounds and graphics
# above their size limits, sets the launcher's values, starts Vantorel.exe as a player would in a
# private Wine prefix (build/run-prefix), answers the shell's confirmation with Yes, and prints the
# command line the game received and what the custom folders hold afterwards.
#   scripts/run.sh                   the prepared game folder
#   scripts/run.sh /path/to/game     a real game folder holding main.exe and pilots (its custom
#                                    folders are left alone: clearing stays off)
set -eu
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${RUN_UNDER_XVFB:-}" ]; then
    # The shell's confirmation and the splash need a display; without one a confirmation counts as No.
    sh scripts/prerequisites.sh
    RUN_UNDER_XVFB=1 exec xvfb-run -a sh "$0" "$@"
fi
[ -n "${RUN_UNDER_XVFB:-}" ] || sh scripts/prerequisites.sh
sh scripts/build.sh x86_64 Vantorel Quillon StandInGame RunAndConfirm

fail() { echo "run.sh: $*" >&2; exit 1; }
export WINEPREFIX="$PWD/build/run-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
[ -f "$WINEPREFIX/system.reg" ] || $WINE wineboot -i >/dev/null 2>&1 || fail "cannot create the Wine prefix"
[ -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ] || sh scripts/wine-fonts.sh "$WINEPREFIX" || fail "cannot add Wine's fonts"
DRIVE_C="$WINEPREFIX/drive_c"

# The launcher as installed: Vantorel.exe with Quillon.dll beside it (found through its manifest).
INSTALL="$DRIVE_C/Vantorel"
mkdir -p "$INSTALL"
cp build/bin/Vantorel.exe build/bin/Quillon.dll "$INSTALL/"

if [ $# -gt 0 ]; then
    [ -f "$1/main.exe" ] || fail "$1 holds no main.exe"
    GAME_UNIX=$(cd "$1" && pwd)
    GAME=$($WINE winepath -w "$GAME_UNIX" 2>/dev/null) || fail "Wine cannot name $GAME_UNIX"
    CLEAR=0
else
    GAME_UNIX="$DRIVE_C/Games/Descent 3"
    GAME='C:\Games\Descent 3'
    CLEAR=1
    rm -rf "$GAME_UNIX"
    mkdir -p "$GAME_UNIX/custom/sounds" "$GAME_UNIX/custom/graphics"
    cp build/bin/StandInGame.exe "$GAME_UNIX/main.exe"
    for pilot in Ace "Night Owl" Rookie; do echo "pilot $pilot" > "$GAME_UNIX/$pilot.plt"; done
    # Taunts above 1,000,000 bytes and logos above 100,000 bytes, one of each kind kept.
    head -c 600000 /dev/urandom > "$GAME_UNIX/custom/sounds/keep.osf"
    head -c 600000 /dev/urandom > "$GAME_UNIX/custom/sounds/stranger.osf"
    head -c 60000 /dev/urandom > "$GAME_UNIX/custom/graphics/keep.ogf"
    head -c 60000 /dev/urandom > "$GAME_UNIX/custom/graphics/stranger.ogf"
    head -c 60000 /dev/urandom > "$GAME_UNIX/custom/graphics/stranger.oga"
    echo "the player's notes" > "$GAME_UNIX/custom/graphics/notes.txt"
    echo "Before the start, the custom folders hold:"
    (cd "$GAME_UNIX" && ls -l custom/sounds custom/graphics | sed 's/^/  /')
fi
rm -f "$GAME_UNIX/standin-record.txt"

APP='HKCU\Software\Brannock\Apps\Vantorel'
setting() { $WINE reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null || fail "cannot set $2"; }
setting "$APP" RunOnce True
setting "$APP" EXEPath "$GAME\\main.exe"
setting "$APP" Parameters "-nointro"
setting "$APP" RandomizePilot 1
setting "$APP" ClearTaunts "$CLEAR"
setting "$APP" KeepTaunts "keep.osf"
setting "$APP" ClearLogos "$CLEAR"
setting "$APP" KeepLogos "keep.ogf"
setting 'HKCU\Software\Brannock\System' ShowSplash 1

echo "Starting Vantorel.exe (EXEPath $GAME\\main.exe, Parameters -nointro, random pilot):"
status=0
$WINE build/bin/RunAndConfirm.exe 'C:\Vantorel\Vantorel.exe' > build/run-answers.txt || status=$?
sed 's/^/  /' build/run-answers.txt
[ "$status" -eq 0 ] || fail "Vantorel.exe ended with exit code $status; its log: $INSTALL/Vantorel.log"

# The launcher does not wait for the game: wait for the stand-in's record.
waited=0
while [ ! -f "$GAME_UNIX/standin-record.txt" ] && [ $# -eq 0 ]; do
    [ $waited -lt 200 ] || fail "the game did not start; Vantorel's log: $INSTALL/Vantorel.log"
    sleep 0.1; waited=$((waited + 1))
done
if [ -f "$GAME_UNIX/standin-record.txt" ]; then
    echo "The game received:"
    sed 's/\r$//; s/^/  /' "$GAME_UNIX/standin-record.txt"
fi
echo "Vantorel's log says:"
grep -a -E 'POST - (Pilot|Command Line|Kept)' "$INSTALL/Vantorel.log" | sed 's/\r$//; s/^ */  /'
if [ "$CLEAR" = 1 ]; then
    echo "After the start, the custom folders hold:"
    (cd "$GAME_UNIX" && ls -l custom/sounds custom/graphics | sed 's/^/  /')
fi
/usr/lib/wine/wineserver -w
