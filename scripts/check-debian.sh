#!/usr/bin/env bash
# Tries the README's two commands on a fresh Debian release, as a newcomer on
# such a machine would run them:
#   scripts/check-debian.sh trixie        (or bookworm, forky, ...)
#
# Makes a fresh root of that release with mmdebstrap in a temporary folder
# (under TMPDIR, else /var/tmp; a few GB), clones this repository's HEAD into
# it (/root/vok: uncommitted changes are not tried), and runs
# `bash scripts/run.sh`, then `bash scripts/test.sh` inside, as root, with
# proc, sys, dev and devpts mounted and tmpfs on /dev/shm, /tmp and /var/tmp.
# Their whole output goes to build/logs/check-debian-SUITE-{run,test}.log
# here; at the end it prints their last lines and times, and exits non-zero
# when either failed. The mounts live in private mount namespaces, and on any
# exit (Ctrl-C and failures included) every process left in the root is ended
# and the folder removed: nothing stays mounted or running.
#
# VOK_WINE_ARCHS=x86_64 is passed on: the commands then behave inside as on a
# machine that runs no 32-bit program.
#
# Needs root (or sudo) and the package mirror (VOK_DEBIAN_MIRROR, default
# http://deb.debian.org/debian, and VOK_DEBIAN_SECURITY for the security
# updates). It takes minutes and is no part of scripts/test.sh.
set -uo pipefail
umask 022
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

[ $# -eq 1 ] || vok_die "usage: $0 SUITE (a Debian release: bookworm, trixie ...)"
suite=$1
if ! vok_is_root; then
    command -v sudo >/dev/null 2>&1 || vok_die "run as root, or install sudo"
    exec sudo -- bash "$0" "$@"
fi
mirror=${VOK_DEBIAN_MIRROR:-http://deb.debian.org/debian}
security=${VOK_DEBIAN_SECURITY:-http://deb.debian.org/debian-security}
logs="$VOK_ROOT/build/logs"
mkdir -p "$logs"

if ! command -v mmdebstrap >/dev/null 2>&1; then
    vok_heading "Install mmdebstrap"
    DEBIAN_FRONTEND=noninteractive apt-get -y -q install mmdebstrap >"$logs/apt-mmdebstrap.log" 2>&1 ||
        { tail -n 20 "$logs/apt-mmdebstrap.log"; vok_die "cannot install mmdebstrap"; }
fi

work=$(mktemp -d "${TMPDIR:-/var/tmp}/vok-debian-$suite.XXXXXX") || vok_die "no temporary folder"
root="$work/root"

# The processes whose root directory is the Debian root.
root_pids() {
    local proc
    for proc in /proc/[0-9]*; do
        [ "$proc/root" -ef "$root" ] && printf '%s\n' "${proc#/proc/}"
    done
}

# Ends every process left in the root; says which when asked to.
end_root_processes() {
    local pids
    for _ in $(seq 1 20); do
        mapfile -t pids < <(root_pids)
        [ "${#pids[@]}" -gt 0 ] || return 0
        if [ -n "${1:-}" ]; then
            vok_note "$1: $(for p in "${pids[@]}"; do tr '\0' ' ' <"/proc/$p/cmdline" | cut -c1-60; done | paste -sd ';')"
            set --
        fi
        kill -KILL "${pids[@]}" 2>/dev/null
        sleep 0.5
    done
}

# shellcheck disable=SC2317 # runs from the trap
cleanup() {
    trap - EXIT INT TERM
    [ -d "$root" ] && end_root_processes
    # The mounts went with their namespaces; anything still mounted below the
    # folder (mmdebstrap's own, after an interruption) is unmounted before the
    # folder goes, and the removal never crosses into another file system.
    local mount
    while read -r mount; do
        umount -R -l "$mount" 2>/dev/null
    done < <(findmnt -rn -o TARGET | grep -F "$work/" | sort -r)
    if findmnt -rn -o TARGET | grep -qF "$work/"; then
        vok_note "warning: still mounted below $work; it is left in place"
    else
        rm -rf --one-file-system "$work"
    fi
}
trap cleanup EXIT
trap 'echo "interrupted: ending what runs in the root, removing $work"; exit 130' INT TERM

vok_heading "Make a fresh $suite root in $work"
start=$SECONDS
# git: the newcomer's machine has the clone, so it has git.
if ! mmdebstrap --include=git "$suite" "$root" "deb $mirror $suite main" \
    "deb $mirror $suite-updates main" "deb $security $suite-security main" \
    >"$logs/check-debian-$suite-root.log" 2>&1; then
    tail -n 20 "$logs/check-debian-$suite-root.log"
    vok_die "mmdebstrap failed (log: $logs/check-debian-$suite-root.log)"
fi
release="Debian $(cat "$root/etc/debian_version")"
vok_note "$release, made in $((SECONDS - start)) s"

commit=$(git -C "$VOK_ROOT" rev-parse HEAD) || vok_die "$VOK_ROOT is no git clone"
[ -z "$(git -C "$VOK_ROOT" status --porcelain --untracked-files=no)" ] ||
    vok_note "warning: uncommitted changes are not tried, only $commit"
if ! git clone -q --no-hardlinks "$VOK_ROOT" "$root/root/vok" ||
    ! git -C "$root/root/vok" checkout -q --detach "$commit"; then
    vok_die "cannot clone into the root"
fi

# in_root COMMAND: runs a shell command in the root, as root, in a mount
# namespace of its own with the file systems a booted machine has; its mounts
# end with it.
in_root() {
    # shellcheck disable=SC2016 # the inner shell expands them
    unshare --mount --propagation private -- bash -c '
        set -e
        root=$1
        mount -t proc proc "$root/proc"
        mount -t sysfs sysfs "$root/sys"
        mount --bind /dev "$root/dev"
        mount -t devpts -o newinstance,ptmxmode=0666,mode=620 devpts "$root/dev/pts"
        mount --bind "$root/dev/pts/ptmx" "$root/dev/ptmx"
        mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
        mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
        mount -t tmpfs -o mode=1777 tmpfs "$root/var/tmp"
        exec chroot "$root" /usr/bin/env -i HOME=/root USER=root LOGNAME=root TERM=dumb \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            ${3:+"VOK_WINE_ARCHS=$3"} bash -c "$2" </dev/null' bash "$root" "$1" "${VOK_WINE_ARCHS:-}"
}

summary=()
status=0
for command in run test; do
    log="$logs/check-debian-$suite-$command.log"
    vok_heading "$release: bash scripts/$command.sh (log: $log)"
    start=$SECONDS
    # In the background and waited for: a Ctrl-C then ends this script at once
    # (its trap ends what runs in the root), even where a program inside
    # catches the signal and goes on. The shell's own words on the ended
    # programs are not wanted.
    (in_root "cd /root/vok && bash scripts/$command.sh" 2>&1 | tee "$log") 2>/dev/null &
    wait $!
    rc=$?
    took=$((SECONDS - start))
    [ "$rc" -eq 0 ] || status=1
    end_root_processes "left running after scripts/$command.sh"
    summary+=("scripts/$command.sh: exit $rc after $((took / 60))m$((took % 60))s; its last lines:")
    mapfile -t -O "${#summary[@]}" summary < <(tail -n 4 "$log" | sed 's/^/    /')
done

vok_heading "$release, $commit"
printf '%s\n' "${summary[@]}"
exit "$status"
