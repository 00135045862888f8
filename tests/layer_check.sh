#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own.
# Layers, lowest first: imaging, platform, engine, core, viewer,
# compare_window, then the programs (app, cli, decoder), which never include
# each other. Inside compare_window, the rooms result_list, previews,
# path_field and actions stand side by side under window; all may use the room's own
# top-level headers.
#
# Usage: layer_check.sh SOURCE_ROOT   (the folder holding src/)
#        layer_check.sh --self-test
set -euo pipefail

rank_of() {
  case "$1" in
    imaging) echo 0 ;;
    platform) echo 1 ;;
    engine) echo 2 ;;
    core) echo 3 ;;
    viewer) echo 4 ;;
    compare_window) echo 5 ;;
    app | cli | decoder) echo 6 ;;
    *) echo -1 ;;
  esac
}

# Prints one line per include that points the wrong way; returns 1 if any.
check_tree() {
  local src="$1" bad=0 file room target target_room sub target_sub
  while IFS= read -r -d '' file; do
    local relative=${file#"$src"/}
    room=${relative%%/*}
    while IFS= read -r target; do
      target_room=${target%%/*}
      local verdict=""
      if [[ "$target" != */* || $(rank_of "$target_room") -lt 0 ]]; then
        verdict="names no layer"
      elif [[ "$target_room" != "$room" ]]; then
        if (($(rank_of "$target_room") >= $(rank_of "$room"))); then
          verdict="includes a layer above or beside its own"
        fi
      elif [[ "$room" == compare_window ]]; then
        sub=$(cut -d/ -f2 <<<"$relative")
        target_sub=$(cut -d/ -f2 <<<"$target")
        [[ "$sub" == *.* ]] && sub=""                # a top-level file of the room
        [[ "$target_sub" == *.* ]] && target_sub=""
        if [[ -n "$target_sub" && "$target_sub" != "$sub" && "$sub" != window ]]; then
          verdict="includes another room of the comparison window"
        fi
      fi
      if [[ -n "$verdict" ]]; then
        echo "$relative: \"$target\" $verdict"
        bad=1
      fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
  done < <(find "$src" -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
  return $bad
}

self_test() {
  local tmp status=0
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' RETURN
  mkdir -p "$tmp"/{imaging,engine,app,cli,compare_window/window,compare_window/previews,compare_window/path_field}
  echo '#include "imaging/a.h"' >"$tmp/engine/ok.cpp"
  echo '#include "compare_window/previews/p.h"' >"$tmp/compare_window/window/ok.cpp"
  echo '#include "compare_window/ids.h"' >"$tmp/compare_window/previews/ok.cpp"
  check_tree "$tmp" >/dev/null || { echo "self-test: a sound tree was refused"; return 1; }
  local case
  for case in 'imaging/up.cpp:engine/x.h' 'app/side.cpp:cli/x.h' \
              'compare_window/previews/side.cpp:compare_window/path_field/f.h' \
              'compare_window/previews/up.cpp:compare_window/window/w.h' 'engine/none.cpp:x.h'; do
    local file=${case%%:*} target=${case#*:}
    echo "#include \"$target\"" >"$tmp/$file"
    if check_tree "$tmp" >/dev/null; then
      echo "self-test: $file including $target was not refused"
      status=1
    fi
    rm -f "$tmp/$file"
  done
  return $status
}

if [[ "${1:-}" == --self-test ]]; then
  self_test
  exit
fi
root=${1:?usage: layer_check.sh SOURCE_ROOT | --self-test}
check_tree "$root/src"
