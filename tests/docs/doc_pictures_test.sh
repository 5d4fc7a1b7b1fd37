#!/usr/bin/env bash
# The pictures of docs/parameters.md are what the renderer makes today: rendered again by
# scripts/doc-pictures, each must equal the committed file, and the page must show every one
# and no other.   doc_pictures_test.sh RENDERER SOURCE_DIR
set -euo pipefail
render=$1 source_dir=$2
work=$(mktemp -d /tmp/spirovault-doc-pictures.XXXXXX)
trap 'rm -rf "$work"' EXIT
bash "$source_dir/scripts/doc-pictures" "$render" "$work"
status=0
for made in "$work"/*.png; do
  name=$(basename "$made")
  if ! cmp -s "$made" "$source_dir/docs/pictures/$name"; then
    echo "docs/pictures/$name differs from a fresh render: run scripts/doc-pictures" >&2
    status=1
  fi
done
shown=$(grep -o 'pictures/[a-z0-9-]*\.png' "$source_dir/docs/parameters.md" | sort -u | sed 's|pictures/||')
made=$(cd "$work" && ls *.png | sort)
committed=$(cd "$source_dir/docs/pictures" && ls | sort)
[ "$shown" = "$made" ] || { echo "docs/parameters.md shows: $shown; the script makes: $made" >&2; status=1; }
[ "$committed" = "$made" ] || { echo "docs/pictures holds files the script does not make" >&2; status=1; }
exit $status
