#!/bin/sh
# Vantorel.exe next to Quillon.dll in a fresh prefix where Quillon was never
# registered: the manifest alone must bring the classes. Then Vantorel.exe
# alone, which must fail with exit code 1, not hang or crash.
#   regfree.sh <bin folder> <scratch folder>
set -e
BIN="$1"
SCRATCH="$2"
export WINEPREFIX="$SCRATCH/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
/usr/lib/wine/wineserver -k 2>/dev/null || true
rm -rf "$SCRATCH"
mkdir -p "$SCRATCH/app"
cp "$BIN/Vantorel.exe" "$BIN/Quillon.dll" "$SCRATCH/app/"
$WINE wineboot -i >/dev/null 2>&1
finish() { /usr/lib/wine/wineserver -k 2>/dev/null || true; }
trap finish EXIT
if $WINE reg query 'HKCR\CLSID\{4409E934-1CD9-11D7-AE76-0001026AB5BC}' >/dev/null 2>&1; then
    echo "the fresh prefix already knows the library"; exit 1
fi
$WINE reg add 'HKCU\Software\Brannock\Apps\Vantorel' /v RunOnce /d True /f >/dev/null
$WINE reg add 'HKCU\Software\Brannock\Apps\Vantorel' /v Log /d 7 /f >/dev/null
$WINE reg add 'HKCU\Software\Brannock\System' /v ShowSplash /d 0 /f >/dev/null
cd "$SCRATCH/app"
timeout 60 $WINE Vantorel.exe
for line in "Log Number: 7" "BEGIN Procedure - LaunchGame" "END   Application Initialization" "Application Termination."; do
    grep -q "$line" Vantorel.log || { echo "missing: $line"; cat Vantorel.log; exit 1; }
done
$WINE reg query 'HKCU\Software\Brannock\Apps\Vantorel' /v Log | grep -q ' 8' || { echo "the run was not counted"; exit 1; }

# No display here, so the error box cannot wait.
mkdir -p "$SCRATCH/nolib"
cp "$BIN/Vantorel.exe" "$SCRATCH/nolib/"
cd "$SCRATCH/nolib"
status=0
env -u DISPLAY timeout 60 $WINE Vantorel.exe || status=$?
[ "$status" = 1 ] || { echo "without the library the launcher ended with $status"; exit 1; }
echo "ran without registration; failed cleanly without the library"
