#!/bin/sh
# Every relative link and picture in README.md and docs/*.md names a file
# that is there, and a link to a heading (page.md#heading) one of that
# page's headings, as the anchor a Markdown viewer makes of it. The README
# stays a front door: under 200 lines.
#
#   docs_links_test.sh SOURCE_DIR
set -u
cd "$1" || exit 1
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}
# The anchors of a page's headings: lower case, spaces as hyphens, other
# punctuation dropped.
anchors() {
    sed -n 's/^#\{1,6\} \{1,\}//p' "$1" | tr 'A-Z' 'a-z' | sed -e 's/[^a-z0-9 _-]//g' -e 's/ /-/g'
}
checked=0
for page in README.md docs/*.md; do
    links=$(grep -o '](\([^)]*\))' "$page" | sed -e 's/^](//' -e 's/)$//')
    [ -n "$links" ] || fail "$page has no links"
    for target in $links; do
        case $target in http://* | https://* | mailto:*) continue ;; esac
        file=${target%%#*}
        path=$(dirname "$page")/$file
        [ -n "$file" ] || path=$page
        checked=$((checked + 1))
        if [ ! -f "$path" ]; then
            fail "$page: $target names no file"
        elif [ "$file" != "$target" ] && ! anchors "$path" | grep -qxF "${target#*#}"; then
            fail "$page: $target names no heading of $path"
        fi
    done
done
lines=$(wc -l <README.md)
[ "$lines" -lt 200 ] || fail "README.md has $lines lines; the rest belongs in docs/"
echo "$checked links checked"
exit $failed
