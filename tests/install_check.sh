#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop sees:
# both programs, a valid desktop entry, icon, AppStream metainfo, man page.
#
# Usage: install_check.sh BUILD_DIR
set -euo pipefail
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
app_id=com.vantorel.Dupliora
failed=0
for file in bin/dupliora bin/dupliora-cli libexec/dupliora/dupliora-decoder \
            share/applications/$app_id.desktop \
            share/icons/hicolor/scalable/apps/$app_id.svg \
            share/metainfo/$app_id.metainfo.xml \
            share/man/man1/dupliora-cli.1.gz; do
  if [[ ! -s "$prefix/$file" ]]; then
    echo "missing: $file"
    failed=1
  fi
done
((failed == 0)) || exit 1

desktop-file-validate "$prefix/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" >/dev/null
grep -q "^Icon=$app_id$" "$prefix/share/applications/$app_id.desktop"
# The man page must be readable roff: its NAME section survives the formatter.
zcat "$prefix/share/man/man1/dupliora-cli.1.gz" | grep -q '^\.SH NAME'
version=$("$prefix/bin/dupliora-cli" --version)
[[ "$version" == "dupliora-cli "* ]] || { echo "unexpected --version: $version"; exit 1; }
# The installed tool must find its decoder processes in the package's libexec.
if "$prefix/bin/dupliora-cli" "$prefix/share/icons" 2>&1 >/dev/null | grep -q "no decoder program"; then
  echo "the installed dupliora-cli does not find dupliora-decoder"
  exit 1
fi
echo "installed and valid: $version"
