#!/usr/bin/env bash
# Usage: layers.sh SOURCE_DIR TABLE
# Fails, naming file and line, on every include of engine/ and frontend/ that
# crosses a layer: a quoted path climbing out of its folder, a folder of the
# project that the file's library does not link, or a header of a Qt module
# that it does not link (whether spelt <QPainter>, <QtGui/QPainter>, <QtGui>
# or <qpainter.h>).  TABLE is what CMake knows of each library: its folder,
# the folders and Qt modules it reaches, its files.
set -euo pipefail
cd "$1"
table="$2"

declare -A folder_of reach_of qt_of library_of library_in spelling_of
qt_root=
while read -r kind name rest; do
  case "$kind" in
    qtroot) qt_root="$name" ;;
    target)
      folder_of[$name]="$rest"
      [ -n "${library_in[$rest]:-}" ] || library_in[$rest]="$name"
      ;;
    reach) reach_of[$name]=" $rest " ;;
    qt) qt_of[$name]=" $rest " ;;
    file) library_of[$name]="$rest" ;;
  esac
done <"$table"
# A library's folder is reached by the name of its last part: "platform/Services.h".
for library in "${!folder_of[@]}"; do
  folder="${folder_of[$library]}"
  case "$folder" in */*) spelling_of[${folder##*/}]="$folder" ;; esac
done
if [ -z "$qt_root" ] || [ ! -d "$qt_root/QtCore" ] || [ ${#library_in[@]} -eq 0 ]; then
  echo "the table $table names no libraries or no Qt include folder: the check would prove nothing"
  exit 1
fi

# The Qt modules that hold a header, by any of its spellings, into $modules.
declare -A modules_of_header
qt_modules() {
  local header="$1" module dir
  if [ -n "${modules_of_header[$header]+set}" ]; then
    modules="${modules_of_header[$header]}"
    return
  fi
  modules=
  if [[ "$header" == */* ]]; then
    module="${header%%/*}"
    if [[ "$module" == Qt* && -d "$qt_root/$module" ]]; then modules=" $module"; fi
  else
    for dir in "$qt_root"/Qt*/; do
      if [ -e "$dir$header" ]; then
        dir="${dir%/}"
        modules+=" ${dir##*/}"
      fi
    done
  fi
  modules_of_header[$header]="$modules"
}

faults=0
fault() {
  echo "$1: $2"
  faults=$((faults + 1))
}

files=0
includes=0
while IFS= read -r -d '' file; do
  files=$((files + 1))
  library="${library_of[$file]:-${library_in[${file%/*}]:-}}"
  if [ -z "$library" ]; then
    fault "$file" "belongs to no library that CMake builds"
    continue
  fi
  while IFS=: read -r line text; do
    [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*([\"\<])([^\"\>]*)[\"\>] ]] || continue
    includes=$((includes + 1))
    quote="${BASH_REMATCH[1]}"
    header="${BASH_REMATCH[2]}"
    spelt="\"$header\""
    [ "$quote" = '<' ] && spelt="<$header>"
    if [[ "/$header/" == */../* ]]; then
      fault "$file:$line" "$spelt climbs out of its folder; name the folder's include root instead"
      continue
    fi
    first="${header%%/*}"
    if [[ "$header" == */* && -n "${spelling_of[$first]:-}" ]]; then
      folder="${spelling_of[$first]}"
      if [ ! -e "$folder/${header#*/}" ]; then
        fault "$file:$line" "$spelt names no header of $folder"
      elif [[ "${reach_of[$library]}" != *" $folder "* ]]; then
        fault "$file:$line" "$spelt is in $folder, which $library does not link"
      fi
      continue
    fi
    if [ "$quote" = '"' ] && [ -e "${file%/*}/$header" ]; then
      continue
    fi
    # Quoted or not, a Qt header is found through Qt's include folders.
    qt_modules "$header"
    [ -n "$modules" ] || continue
    allowed=
    for module in $modules; do
      [[ "${qt_of[$library]}" == *" $module "* ]] && allowed=yes
    done
    if [ -z "$allowed" ]; then
      fault "$file:$line" "$spelt is in Qt's${modules}, which $library does not link"
    fi
  done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include' "$file" || true)
done < <(find engine frontend -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)

if [ "$faults" -gt 0 ]; then
  echo "$faults includes cross a layer"
  exit 1
fi
echo "$files files, $includes includes: every one within its library's links"
