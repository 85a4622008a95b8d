#!/usr/bin/env bash
# Tries the README's two commands as a new user would on a new machine: a
# clean Debian 12 root made by debootstrap from the machine's own Debian
# mirror, a clone of the commit in it, then ./run-example.sh and
# ./run-tests.sh, each timed, on this machine's kernel. Not part of the
# tests (it takes half an hour); run it before closing an issue that
# touches the set-up.
#
#   scripts/fresh-machine.sh [--no-i386] [--keep] [COMMIT]
#
# COMMIT (default HEAD) is cloned from this repository. The new root sees
# the kernel as it is, its binfmt_misc included, which only the kernel
# keeps: where this machine's install-deps.sh registered qemu-i386, that
# entry's interpreter is missing in the new root, so 32-bit programs fail
# there as on a kernel without them, and the root's own install-deps.sh
# sets up everything else anew and registers the entry again. --no-i386,
# on a kernel that runs 32-bit programs itself, makes it refuse them
# first (an entry of its own that fails every i386 program), so that the
# emulation's route is tried. The entries are put back as they were at the
# end. --keep keeps the root (its path is printed); else it is removed.
# Runs as root.
set -eEuo pipefail
trap 'echo "fresh-machine.sh: failed at line $LINENO: $BASH_COMMAND (status $?)" >&2' ERR
cd "$(dirname "$0")/.."
top=$PWD

no_i386= keep= commit=HEAD
while [ $# -gt 0 ]; do
    case $1 in
    --no-i386) no_i386=1 ;;
    --keep) keep=1 ;;
    -*) echo "usage: $0 [--no-i386] [--keep] [COMMIT]" >&2; exit 2 ;;
    *) commit=$1 ;;
    esac
    shift
done
[ "$(id -u)" -eq 0 ] || { echo "fresh-machine.sh: run it as root (it mounts and changes binfmt_misc)" >&2; exit 1; }
commit=$(git rev-parse --verify "$commit^{commit}")

command -v debootstrap >/dev/null || {
    apt-get update -q >/dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q debootstrap >/dev/null
}
mirror=$(scripts/debian-mirror.sh)
[ -n "$mirror" ] || { echo "fresh-machine.sh: apt's sources name no Debian mirror of bookworm to make the root from" >&2; exit 1; }
uri=${mirror%%$'\t'*}

binfmt=/proc/sys/fs/binfmt_misc
[ -f $binfmt/register ] || mount -t binfmt_misc binfmt_misc $binfmt
refusal=fresh-machine-no-i386
root=$(mktemp -d /var/tmp/fresh-machine.XXXXXX)
saved=$root.binfmt
mkdir -p "$saved"

# The register line that makes an entry again, from what the kernel shows.
register_line() {
    local name=$1 file=$binfmt/$1 interpreter flags offset magic mask
    interpreter=$(sed -n 's/^interpreter //p' "$file")
    flags=$(sed -n 's/^flags: //p' "$file")
    offset=$(sed -n 's/^offset //p' "$file")
    magic=$(sed -n 's/^magic //p' "$file" | sed 's/../\\x&/g')
    mask=$(sed -n 's/^mask //p' "$file" | sed 's/../\\x&/g')
    if [ -n "$magic" ]; then
        printf ':%s:M:%s:%s:%s:%s:%s\n' "$name" "$offset" "$magic" "$mask" "$interpreter" "$flags"
    else
        printf ':%s:E::%s::%s:%s\n' "$name" "$(sed -n 's/^extension \.//p' "$file")" "$interpreter" "$flags"
    fi
}

# Puts the kernel's entries back as they were (registered again, since an
# entry of the root's opened its interpreter there), and the mounts.
restore() {
    local f name
    for f in $binfmt/*; do
        name=${f##*/}
        case $name in register | status) continue ;; esac
        [ -f "$saved/$name" ] || echo -1 >"$f"
    done
    for f in "$saved"/*; do
        [ -f "$f" ] || continue
        name=${f##*/}
        [ ! -f "$binfmt/$name" ] || echo -1 >"$binfmt/$name"
        head -n 1 "$f" >$binfmt/register
        if sed -n 2p "$f" | grep -qx disabled; then echo 0 >"$binfmt/$name"; fi
    done
    for m in tmp dev/pts dev sys proc src; do
        mountpoint -q "$root/$m" 2>/dev/null && umount -l "$root/$m"
    done
    rm -rf "$saved"
    if [ -n "$keep" ]; then echo "The root stays in $root"; else rm -rf "$root"; fi
}
for f in $binfmt/*; do
    name=${f##*/}
    case $name in register | status) continue ;; esac
    { register_line "$name"; cat "$f"; } >"$saved/$name"
done
trap restore EXIT

echo "Making a Debian 12 root in $root from $uri (a few minutes)..."
start=$SECONDS
debootstrap --include=git,ca-certificates bookworm "$root" "$uri" >"$root.debootstrap.log" 2>&1 ||
    { echo "fresh-machine.sh: debootstrap failed; its log: $root.debootstrap.log" >&2; exit 1; }
rm -f "$root.debootstrap.log"
# The machine's own Debian sources, as a new machine of its kind has them.
rm -f "$root/etc/apt/sources.list"
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && grep -q bookworm "$f" && ! grep -q bookworm-backports "$f" && cp "$f" "$root$f"
done
echo "  made in $((SECONDS - start)) s"

mkdir -p "$root/src"
mount --bind "$top" "$root/src"
mount -o remount,bind,ro "$root/src"
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs tmpfs "$root/tmp"

cp /etc/resolv.conf "$root/etc/resolv.conf"
if [ -n "$no_i386" ]; then
    printf ':%s:M::%s:%s:/bin/false:F\n' "$refusal" \
        '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
        '\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' >$binfmt/register
fi

# run NAME COMMAND: the command in the new root's clone, as root there.
results=()
run() {
    local name=$1 status=0
    start=$SECONDS
    echo
    echo "=== $name"
    chroot "$root" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        LANG=C.UTF-8 TERM=dumb ${CI:+CI=$CI} bash -c "cd /root/project && $2" || status=$?
    results+=("$(printf '%-16s %5d s, status %d' "$name" $((SECONDS - start)) $status)")
}
chroot "$root" git clone -q /src /root/project
chroot "$root" git -C /root/project checkout -q "$commit"
run "run-example.sh" ./run-example.sh
run "run-tests.sh" ./run-tests.sh

echo
echo "On a new Debian 12 root, commit ${commit:0:12}, kernel $(uname -r)${no_i386:+, 32-bit programs refused}:"
printf '  %s\n' "${results[@]}"
! printf '%s\n' "${results[@]}" | grep -qv 'status 0$'
