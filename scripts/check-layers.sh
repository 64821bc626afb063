#!/bin/sh
# Checks that no folder includes a header of a folder above it. The layers,
# bottom to top, are listed in LAYERS; a header belongs to the folder that
# holds it. Prints every upward include and exits 1 when there is one.
cd "$(dirname "$0")/.."
LAYERS="hostsdk doclib settings report documents importers viewer export plugin studio"

layer_of_header() {
  index=0
  for folder in $LAYERS; do
    index=$((index + 1))
    if [ -f "$folder/$1" ]; then
      echo "$index $folder"
      return
    fi
  done
}

status=0
index=0
for folder in $LAYERS; do
  index=$((index + 1))
  [ -d "$folder" ] || continue
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -f "$file" ] || continue
    for header in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]\([^">]*\.h\)[">].*/\1/p' "$file"); do
      found=$(layer_of_header "$header")
      [ -n "$found" ] || continue
      if [ "${found%% *}" -gt "$index" ]; then
        echo "$file includes $header from ${found#* }, a higher layer"
        status=1
      fi
    done
  done
done
[ $status -eq 0 ] && echo "No upward include among: $LAYERS"
exit $status
