#!/usr/bin/env bash
# The layering check: every #include "..." (and #import) under src/ and tools/ must point along the
# dependency direction the README draws (plug-in -> adapters -> editor engine -> framework -> base;
# engine -> raster library -> GDI layer; the DSP units and the interface declarations on their own).
# A folder may include its own headers and those its row below allows; system headers (<...>) are
# not ours and not checked.
#   bash scripts/layering-check.sh [ROOT]   checks the tree at ROOT (default: this repository)
#   bash scripts/layering-check.sh --self-test   plants one wrong include per rule and expects each caught
set -euo pipefail

# folder (most specific first) : the include prefixes it may use besides its own folder
RULES=(
  "src/base:"
  "src/gdi:base/"
  "src/pix:gdi/ base/"
  "src/framework:base/"
  "src/graphics:framework/ base/ pix/ gdi/"
  "src/plugin/dsp:"
  "src/plugin/chain:plugin/dsp/"
  "src/plugin/artwork:pix/ gdi/"
  "src/plugin:graphics/ framework/ base/ pix/ gdi/ vst3/ clap/"
  "src/vst3/abi:"
  "src/vst3/support:vst3/abi/ base/"
  "src/vst3:framework/ base/ graphics/"
  "src/clap/abi:"
  "src/clap:framework/ base/ graphics/"
  "tools/host:base/ vst3/abi/ vst3/support/ clap/abi/ pix/"
  "tools/artwork:pix/ gdi/ plugin/artwork/"
  "tools:"
)

check_tree() {
  local root=$1 bad=0 file dir rule folder allowed inc ok prefix own
  while IFS= read -r file; do
    rule=""
    for r in "${RULES[@]}"; do
      folder=${r%%:*}
      if [[ $file == "$folder"/* ]]; then
        rule=$r
        break
      fi
    done
    [[ -n $rule ]] || continue
    folder=${rule%%:*}
    allowed=${rule#*:}
    # A folder's own headers are written from src/ (src/vst3 -> "vst3/") or from tools/.
    own=${folder#src/}
    own=${own#tools/}/
    while IFS= read -r inc; do
      # A bare name is a header beside the file.
      [[ $inc == */* ]] || continue
      ok=0
      for prefix in "$own" $allowed; do
        if [[ $inc == "$prefix"* ]]; then
          ok=1
          break
        fi
      done
      if [[ $ok == 0 ]]; then
        echo "layering-check: $file includes \"$inc\": $folder may include only ${own}${allowed:+ and $allowed}" >&2
        bad=$((bad + 1))
      fi
    done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*(include|import)[[:space:]]*"([^"]+)".*/\2/p' "$root/$file")
  done < <(cd "$root" && find src tools \( -name '*.h' -o -name '*.cpp' -o -name '*.mm' \) 2>/dev/null | sort)
  return $((bad > 0))
}

self_test() {
  local tmp planted caught=0 total=0
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' RETURN
  # One wrong direction per line: file, include.
  planted=(
    "src/framework/Wrong.cpp graphics/IGraphics.h"
    "src/plugin/dsp/Wrong.h framework/IPlugin.h"
    "src/plugin/dsp/Wrong.cpp graphics/IControl.h"
    "src/vst3/Wrong.cpp clap/IPluginCLAP.h"
    "src/clap/Wrong.cpp vst3/IPluginVST3.h"
    "src/vst3/abi/Wrong.h framework/IPlugin.h"
    "src/clap/abi/Wrong.h base/StrBuf.h"
    "src/pix/Wrong.cpp framework/IParam.h"
    "src/graphics/Wrong.cpp vst3/IPluginVST3.h"
  )
  for p in "${planted[@]}"; do
    rm -rf "${tmp:?}"/*
    mkdir -p "$tmp/$(dirname "${p% *}")"
    printf '#include "%s"\n' "${p#* }" >"$tmp/${p% *}"
    total=$((total + 1))
    if ! check_tree "$tmp" 2>/dev/null; then caught=$((caught + 1)); else echo "layering-check: self-test: $p not caught" >&2; fi
  done
  # The allowed directions pass.
  rm -rf "${tmp:?}"/*
  mkdir -p "$tmp/src/graphics" "$tmp/src/vst3"
  printf '#include "framework/IPlugin.h"\n#include "pix/PIX_PNG.h"\n' >"$tmp/src/graphics/Right.cpp"
  printf '#include "vst3/abi/Base.h"\n#include "graphics/IGraphics.h"\n' >"$tmp/src/vst3/Right.cpp"
  if ! check_tree "$tmp"; then
    echo "layering-check: self-test: an allowed include was refused" >&2
    return 1
  fi
  echo "layering-check: self-test, $caught of $total wrong includes caught"
  [[ $caught == "$total" ]]
}

case "${1:-}" in
  --self-test) self_test ;;
  "") cd "$(dirname "$0")/.." && check_tree . && echo "layering-check: every include points the way the layers go" ;;
  *) check_tree "$1" && echo "layering-check: every include points the way the layers go" ;;
esac
