#!/usr/bin/env bash
# Makes the Debian package, installs it with apt-get on this machine and
# checks what a user gets: both programs start from the menu's paths, the
# desktop entry and AppStream metainfo validate, the icon and man page are
# there. Needs root or sudo; removes the package again with --remove.
#
# Usage: scripts/package_check.sh [--remove]
set -euo pipefail
cd "$(dirname "$0")/.."
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)

scripts/package.sh >/dev/null
package=$(ls -t build/dupliora_*.deb | head -1)
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --reinstall "./$package" >/dev/null

app_id=com.vantorel.Dupliora
desktop-file-validate /usr/share/applications/$app_id.desktop
appstreamcli validate --no-net /usr/share/metainfo/$app_id.metainfo.xml >/dev/null
test -s /usr/share/icons/hicolor/scalable/apps/$app_id.svg
man -w dupliora-cli >/dev/null
# The menu runs what Exec names, found on PATH.
[[ $(command -v "$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' /usr/share/applications/$app_id.desktop)") == /usr/bin/dupliora ]]
version=$(dupliora-cli --version)

# The GUI has started when it is still running after a few seconds; its own
# settings and instance marker go to a private folder.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
HOME=$scratch XDG_CONFIG_HOME=$scratch XDG_CACHE_HOME=$scratch XDG_DATA_HOME=$scratch \
  XDG_RUNTIME_DIR=$scratch QT_QPA_PLATFORM=offscreen timeout 5 dupliora "$scratch" || status=$?
if ((status != 124)); then
  echo "the installed dupliora ended early with status $status"
  exit 1
fi
echo "installed and started: $version ($package)"

if [[ "${1:-}" == --remove ]]; then
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq dupliora >/dev/null
fi
