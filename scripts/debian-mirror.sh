#!/usr/bin/env bash
# Prints the URI and the signing key (or nothing), tab-separated, of the
# machine's Debian mirror: the first deb822 stanza or one-line entry of
# apt's sources that carries the suite bookworm itself (not -security or
# -updates). Prints nothing where there is none. install-deps.sh takes
# bookworm-backports from it, fresh-machine.sh the new root's packages.
set -euo pipefail
eval "$(apt-config shell list Dir::Etc::sourcelist/f parts Dir::Etc::sourceparts/d)"
{
    for f in "$parts"*.sources; do
        [ -f "$f" ] || continue
        awk 'BEGIN { RS = ""; FS = "\n" }
            {
                uri = ""; key = ""; deb = 0; suite = 0; enabled = 1
                for (i = 1; i <= NF; i++) {
                    if ($i ~ /^Types:/ && (" " substr($i, 7) " ") ~ / deb /) deb = 1
                    if ($i ~ /^URIs:/) { split(substr($i, 6), uris, " "); uri = uris[1] }
                    if ($i ~ /^Suites:/ && (" " substr($i, 8) " ") ~ / bookworm /) suite = 1
                    if ($i ~ /^Signed-By:/) { key = substr($i, 11); gsub(/^ +| +$/, "", key) }
                    if ($i ~ /^Enabled: *no/) enabled = 0
                }
                if (deb && suite && enabled && uri != "") print uri "\t" key
            }' "$f"
    done
    for f in "$list" "$parts"*.list; do
        [ -f "$f" ] || continue
        awk '$1 == "deb" {
                key = ""; line = $0
                if (match(line, /\[[^]]*\]/)) {
                    opts = substr(line, RSTART + 1, RLENGTH - 2)
                    line = substr(line, 1, RSTART - 1) substr(line, RSTART + RLENGTH)
                    if (match(opts, /signed-by=[^ ]*/)) key = substr(opts, RSTART + 10, RLENGTH - 10)
                }
                n = split(line, words, " ")
                if (n >= 3 && words[3] == "bookworm") print words[2] "\t" key
            }' "$f"
    done
} | sed -n 1p
