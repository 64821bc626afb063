#!/bin/sh
# Screenshots of the program as a user meets it, for a person to look at:
#
#   scripts/screenshots.sh FOLDER [REPORT...]
#
# Runs build/studio/xrdview on the reports (the bundled examples when none is
# named) on a virtual display with a window manager, drives it from the
# keyboard and saves into FOLDER: the window as opened, after "next failed
# test", with failed tests only, the preferences dialog, and the HTML export
# of the same reports (FOLDER/html); then the comparison with the bundled
# release run, and, over a history of six nightly runs recorded as CI
# would, the trend in the summary, a failed case's recent runs and the
# flaky tests page. Needs Xvfb, openbox, xdotool and
# ImageMagick's import; installs them with apt-get when missing.
set -eu
[ $# -ge 1 ] || { echo "usage: scripts/screenshots.sh FOLDER [REPORT...]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
shots=$(cd "$1" && pwd)
shift
[ $# -gt 0 ] || set -- "$root"/examples/*.xrd
program="$root/build/studio/xrdview"
[ -x "$program" ] || { echo "screenshots: build the program first (scripts/build.sh)" >&2; exit 2; }
for tool in Xvfb openbox xdotool import; do
  command -v $tool >/dev/null && continue
  apt-get update -qq && apt-get install -y -qq xvfb openbox xdotool imagemagick >/dev/null
  break
done

# A display and a configuration folder of our own, removed on the way out.
display=:$((90 + $$ % 100))
home=$(mktemp -d)
cleanup() {
  kill "$viewer" "$manager" "$server" 2>/dev/null || true
  rm -rf "$home"
}
viewer="" manager="" server=""
trap cleanup EXIT
Xvfb "$display" -screen 0 1280x900x24 >/dev/null 2>&1 &
server=$!
export DISPLAY=$display XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data"
until xdotool getmouselocation >/dev/null 2>&1; do sleep 0.2; done
openbox >/dev/null 2>&1 &
manager=$!

# start FILE...: the program on the files, its window sized and active.
start() {
  "$program" "$@" </dev/null >/dev/null 2>&1 &
  viewer=$!
  window=$(xdotool search --sync --onlyvisible --pid "$viewer" | head -n 1)
  xdotool windowsize "$window" 1200 850
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
}
start "$@"

# shoot NAME: lets the program paint, then saves the whole screen.
shoot() {
  sleep 1
  import -window root "$shots/$1.png"
  echo "$shots/$1.png"
}
shoot window
xdotool key F8
shoot next-failed
xdotool key alt+c
shoot commands-menu
xdotool key Down Return
shoot failed-only
xdotool key alt+t Return
shoot preferences
xdotool key Escape
xdotool key alt+f m
sleep 1
xdotool type --delay 20 "$root/examples/release-passed.xrd"
xdotool key Return
shoot compare
kill "$viewer"

# Six nightly runs, a few cases turning from passed to failed and back.
runs="$home/runs"
mkdir -p "$runs" "$home/config/xrdview"
day=1
for flip in empty_file integer_overflow "" single_section integer_overflow booleans; do
  case="name=\"$flip\" type=\"testcase\" state=\""
  sed -e "s/$case"'ok"/'"$case"'X"/' -e "s/$case"'ko"/'"$case"'ok"/' -e "s/$case"'X"/'"$case"'ko"/' \
    "$root/examples/nightly-failures.xrd" >"$runs/nightly-$day.xrd"
  touch -d "2026-01-0$day 02:10" "$runs/nightly-$day.xrd"
  day=$((day + 1))
done
"$program" --record "$runs"/nightly-[1-5].xrd >/dev/null 2>&1
cat >"$home/config/xrdview/resources.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<resources version="1"><group tag="xrdview"><group tag="REPORTER"><group tag="HISTORY"><bool tag="record" value="true"/></group></group></group></resources>
EOF
start "$runs/nightly-6.xrd"
shoot history
xdotool key F8
shoot history-next-failed
xdotool key alt+c Up Up Up Return
shoot flaky

"$program" --export-html "$shots/html" "$@" >/dev/null
echo "$shots/html"
