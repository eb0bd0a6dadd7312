#!/usr/bin/env bash
# Checks the direction of the includes between the product folders:
#  - only app/ includes app/... (app/ is the top: it composes everything);
#  - protocol/ includes only protocol/... and the QtCore-only part of common/;
#  - common/ includes only common/..., and its QtCore-only part nothing of the widgets part.
# tests/, bench/ and tools/ may include anything. Prints every include that breaks a rule and
# exits non-zero when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

core_headers='common/(Lang|InstallFolder|UserFolders)\.h'
broken=0
report() { echo "layers: $1: $2" >&2; broken=1; }

while IFS= read -r file; do
  dir=${file%%/*}
  while IFS= read -r inc; do
    case "$dir" in
      app) ;;
      protocol)
        [[ "$inc" =~ ^protocol/ || "$inc" =~ ^$core_headers$ ]] || report "$file" "includes $inc (protocol/ uses only protocol/ and common-core)" ;;
      common)
        if [[ ! "$inc" =~ ^common/ ]]; then
          report "$file" "includes $inc (common/ uses only common/)"
        elif [[ "$file" =~ ^$core_headers$ || "$file" =~ ^common/(InstallFolder|UserFolders)\.cpp$ ]] && [[ ! "$inc" =~ ^$core_headers$ ]]; then
          report "$file" "includes $inc (common-core does not use common-widgets)"
        fi ;;
      *)
        [[ "$inc" =~ ^app/ ]] && report "$file" "includes $inc (only app/ includes app/)" ;;
    esac
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp' | grep -vE '^(tests|bench|tools|build[^/]*)/')

# The QtCore-only libraries never name a widget module.
if grep -nE '#[[:space:]]*include[[:space:]]*<Q(Widget|Dialog|Label|PushButton|ComboBox|MainWindow|Application|Gui)' \
     protocol/*.h protocol/*.cpp common/Lang.h common/InstallFolder.* common/UserFolders.* >&2; then
  echo "layers: a widget header in a QtCore-only folder (above)" >&2
  broken=1
fi

if [ "$broken" -ne 0 ]; then
  echo "layers: broken (see above)" >&2
  exit 1
fi
echo "layers: every include points the right way"
