#!/usr/bin/env bash
# The Windows installer as a user meets it, in a fresh wine prefix on the X
# display of the caller: it installs without administrator rights, puts a
# Start menu entry there, the program starts from that entry and shows its
# window, and the uninstaller removes everything the installer put there.
#   check-installer.sh <arkleton-*-setup.exe>
set -euo pipefail
setup=$(realpath "$1")
root=$(mktemp -d)
export WINEPREFIX=$root/wine WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null || true; rm -rf "$root"' EXIT

fail() { echo "check-installer: $*" >&2; exit 1; }
winvar() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Arkleton'

wineboot -i >/dev/null 2>&1
wine "$setup" /S
wineserver -w

folder=$(winepath -u "$(winvar LOCALAPPDATA)\\Programs\\Arkleton")
entry=$(winepath -u "$(winvar APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\PX600 Arkleton.lnk")
for file in arkleton.exe arkleton-cli.exe README.md uninstall.exe; do
  [ -f "$folder/$file" ] || fail "$file was not installed in $folder"
done
[ -f "$entry" ] || fail "no Start menu entry $entry"
wine reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "the uninstaller is not registered under $key"

# The program from its Start menu entry: its window appears.
window() { xwininfo -root -tree 2>/dev/null | grep -q '"PX600 Arkleton"'; }
! window || fail "a window of the program is open before the start"
wine start /unix "$entry" >/dev/null 2>&1
for _ in $(seq 1 60); do
  if window; then shown=1; break; fi
  sleep 0.5
done
[ "${shown:-0}" = 1 ] || fail "the program started from its Start menu entry shows no window"
wineserver -k
sleep 1

wine "$folder/uninstall.exe" /S
wineserver -w
[ ! -e "$folder" ] || fail "the uninstaller left $folder: $(ls -A "$folder")"
[ ! -e "$entry" ] || fail "the uninstaller left the Start menu entry"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstaller left $key"
echo "check-installer: installed, started from the Start menu and uninstalled ($(stat -c %s "$setup") bytes)"
