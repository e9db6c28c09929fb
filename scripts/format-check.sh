#!/usr/bin/env bash
# Checks that every C++ and Objective-C++ source follows .clang-format; with --fix, reformats them.
# The generated tables keep the layout their generators write.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.mm' | grep -v -e '^src/plugin/dsp/TiltCoefficients\.h$' \
  -e '^src/plugin/dsp/TiltPreTableData\.cpp$' \
  -e '^src/plugin/artwork/LegendGlyphs\.cpp$')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run --Werror "${files[@]}"
  echo "format-check: ${#files[@]} files follow .clang-format"
fi
