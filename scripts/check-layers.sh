#!/usr/bin/env bash
# The layering of the product folders is said by their CMake links: each library reaches only the
# headers of the libraries it links, through their include roots (cmake/QvLibrary.cmake), and
# Qt's headers of the Qt modules it links. This checks the two ways around that the compiler
# cannot see:
#  - a product include names its folder ("protocol/Wire.h"), never a bare name or "../", which
#    the compiler would find beside the including file whatever the links say;
#  - Qt headers are included by class name (<QWidget>), never as <QtWidgets/QWidget>, which
#    would be found through Qt's root folder even in a library that does not link that module.
# tests/, bench/, tools/ and the viewer control (a library shipped on its own) are left out.
# Prints every include that breaks a rule and exits non-zero when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

broken=0
while IFS= read -r file; do
  while IFS= read -r inc; do
    if [[ "$inc" == *..* || "$inc" != */* ]] && [[ "$inc" != *.moc ]]; then
      echo "layers: $file: includes \"$inc\" (name the folder: \"folder/Header.h\")" >&2
      broken=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
  if grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Qt[A-Za-z]+/' "$file" | sed "s|^|layers: $file:|" >&2; then
    echo "layers: $file: include Qt headers by class name (<QWidget>), so that the links decide" >&2
    broken=1
  fi
done < <(git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp' |
         grep -vE '^(tests|bench|tools|viewer|assets|build[^/]*)/')

if [ "$broken" -ne 0 ]; then
  echo "layers: broken (see above)" >&2
  exit 1
fi
echo "layers: every include names its folder; the CMake links say the rest"
