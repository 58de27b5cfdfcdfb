# shellcheck shell=bash
# Shared by the project's scripts: dependency install, builds, and the Wine
# session the cross-built programs run in. Sourced, never run on its own.
#
# Wine always runs as an unprivileged user. Wine keeps the read-only attribute
# in the Unix permission bits, and root ignores those bits, so under root a
# copy onto a read-only file succeeds where Windows refuses it. When a script
# runs as root (as CI does) the Wine user is "voktest", created on first use;
# otherwise it is the caller.

VOK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export VOK_ROOT

# Everything the build, the tests and the Wine session need on Debian 12 or 13.
# Names without a version (libclang-rt-dev: the runtime of the default clang),
# so that the list holds for each release as it comes.
VOK_PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-dev
    googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-i686-posix mingw-w64-tools
    wine wine32:i386 wine64
    xvfb xauth imagemagick x11-utils
    strip-nondeterminism
)

export VOK_XVFB_SCREEN="-screen 0 1024x768x24"
VOK_JOBS=${VOK_JOBS:-$(nproc)}
export VOK_JOBS

vok_heading() { printf '\n==> %s\n' "$*"; }
vok_note() { printf '    %s\n' "$*"; }
vok_die() {
    printf 'error: %s\n' "$*" >&2
    exit 1
}

vok_is_root() { [ "$(id -u)" -eq 0 ]; }

# Runs a command as root: directly when we are root, through sudo otherwise.
vok_as_root() {
    if vok_is_root; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        vok_die "need root to run '$*' (run as root or install sudo)"
    fi
}

vok_missing_packages() {
    local p status
    for p in "${VOK_PACKAGES[@]}"; do
        status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
        [ "$status" = installed ] || printf '%s\n' "$p"
    done
}

# Installs whatever of VOK_PACKAGES is missing; touches apt only then. The apt
# output goes to build/logs/apt.log and is shown only when apt fails.
vok_install_dependencies() {
    local missing
    mapfile -t missing < <(vok_missing_packages)
    if [ "${#missing[@]}" -eq 0 ]; then
        vok_note "all packages present"
        return 0
    fi
    vok_note "installing: ${missing[*]}"
    mkdir -p "$VOK_ROOT/build/logs"
    local log="$VOK_ROOT/build/logs/apt.log"
    : >"$log"
    if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
        ! dpkg --print-foreign-architectures | grep -qx i386; then
        vok_as_root dpkg --add-architecture i386 >>"$log" 2>&1 ||
            { tail -n 40 "$log"; vok_die "dpkg --add-architecture i386 failed"; }
    fi
    local apt=(env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o Dpkg::Use-Pty=0)
    if ! vok_as_root "${apt[@]}" update >>"$log" 2>&1 ||
        ! vok_as_root "${apt[@]}" install "${missing[@]}" >>"$log" 2>&1; then
        tail -n 40 "$log"
        vok_die "package installation failed (full log: $log)"
    fi
    mapfile -t missing < <(vok_missing_packages)
    [ "${#missing[@]}" -eq 0 ] || vok_die "still missing after install: ${missing[*]}"
}

# Configures and builds one preset of CMakePresets.json: all of it, or only
# the targets named after it.
vok_build_preset() {
    local preset=$1
    shift
    (cd "$VOK_ROOT" && cmake --preset "$preset" &&
        cmake --build --preset "$preset" --parallel "$VOK_JOBS" ${1:+--target "$@"})
}

# --- Wine -------------------------------------------------------------------

vok_wine_user() {
    if vok_is_root; then
        printf '%s\n' "${VOK_WINE_USER:-voktest}"
    else
        id -un
    fi
}

# Runs a command as the Wine user, keeping the environment (WINE*, DISPLAY).
vok_as_wine_user() {
    if vok_is_root; then
        runuser -u "$(vok_wine_user)" -- "$@"
    else
        "$@"
    fi
}

# The environment every Wine call of the project uses. A caller's own
# WINEDLLOVERRIDES (a GUI test selecting a stand-in DLL) is kept; Mono and
# Gecko are switched off in any case so Wine never offers to install them.
vok_wine_env() {
    export WINEPREFIX="${VOK_WINEPREFIX:-$VOK_ROOT/build/wineprefix}"
    export WINEDEBUG="${WINEDEBUG:--all}"
    case ";${WINEDLLOVERRIDES:-};" in
        *mscoree*) ;;
        *) export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}" ;;
    esac
    # Wine names Unix files in the charset of the Unix locale: in the C locale
    # of a machine that sets none (a fresh root, a container) it can create no
    # file named outside ASCII at all. Such a machine runs Wine in C.UTF-8.
    if [ -z "${LC_ALL:-}${LC_CTYPE:-}${LANG:-}" ]; then
        export LANG=C.UTF-8
    fi
}

# As root: creates the Wine user when missing and lets it reach the build tree.
#
# CI clones into a folder we do not choose, possibly under /root (mode 700).
# Rather than copying programs and data elsewhere (which would give ctest and
# the Wine user different paths, and GUI tests stage files beside the
# programs), the folders above the build tree that the Wine user cannot
# traverse get the traverse bit for others (o+x): it allows passing through,
# not listing, and changes nothing else.
vok_wine_user_setup() {
    vok_is_root || return 0
    local user
    user=$(vok_wine_user)
    if ! id -u "$user" >/dev/null 2>&1; then
        vok_note "creating user $user to run Wine"
        useradd --create-home --shell /bin/bash "$user" || vok_die "cannot create user $user"
    fi
    mkdir -p "$VOK_ROOT/build"
    local dir="" part
    local -a parts
    IFS=/ read -r -a parts <<<"${VOK_ROOT#/}/build"
    for part in "" "${parts[@]}"; do
        dir="$dir$part/"
        if ! runuser -u "$user" -- test -x "$dir"; then
            vok_note "granting traverse permission (o+x) on $dir so that $user reaches the build tree"
            chmod o+x "$dir"
        fi
    done
}

# Creates the Wine prefix on first use: a 32-bit prefix (the launcher is a
# 32-bit program; such a prefix is also half the size and boots in half the
# time of a 64-bit one) owned by the Wine user. Serialised with a lock so that
# parallel ctest runs create it once. A prefix whose creation was interrupted
# (no ready mark) is made anew. Fails (non-zero) with a message on error.
vok_wine_prefix() {
    local user mark
    user=$(vok_wine_user)
    # The mark names the prefix's version: a prefix made by an older version of
    # this function (without the dialog fonts) is made anew.
    mark="$WINEPREFIX/.vok-ready-2"
    [ -f "$mark" ] && [ "$(stat -c %U "$WINEPREFIX")" = "$user" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ -d "$WINEPREFIX" ] && [ "$(stat -c %U "$WINEPREFIX")" != "$user" ]; then
            vok_is_root || vok_die "$WINEPREFIX belongs to $(stat -c %U "$WINEPREFIX"), not to $user"
            chown -R "$user:" "$WINEPREFIX"
        fi
        [ -f "$mark" ] && exit 0
        vok_note "creating Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        vok_is_root && chown "$user:" "$WINEPREFIX"
        vok_as_wine_user env WINEARCH=win32 wineboot -i </dev/null >/dev/null 2>&1 ||
            vok_die "wineboot -i failed for $WINEPREFIX"
        # Debian's Wine leaves its own bitmap fonts out of a new prefix: "MS Sans
        # Serif" then falls back to a font 1 px smaller, every dialog shrinks by
        # about 8 % and pictures overlap their frames. Copy them in, as a Windows
        # installation has them.
        for font in sserife.fon sserifee.fon marlett.ttf; do
            if [ -f "/usr/share/wine/fonts/$font" ]; then
                vok_as_wine_user cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
            fi
        done
        # Without a window manager every closing dialog otherwise costs ~2 s.
        vok_as_wine_user wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            </dev/null >/dev/null 2>&1
        # This server may have started without a display; windows created in a
        # session of such a server fail, so it must not outlive the creation.
        vok_as_wine_user wineserver -k >/dev/null 2>&1
        vok_as_wine_user wineserver -w >/dev/null 2>&1
        vok_as_wine_user touch "$mark"
    ) 9>"$WINEPREFIX.lock"
}

# The Unix processes of the Wine session of this prefix, server included: the
# Wine programs (wine, its preloader, wineserver) whose environment names the
# prefix and whose root directory is ours (a Debian root tried with
# scripts/check-debian.sh sees the host's processes too). Scripts that merely
# export WINEPREFIX are no Wine programs and stay out.
vok_wine_pids() {
    local proc exe
    for proc in /proc/[0-9]*; do
        exe=$(readlink "$proc/exe" 2>/dev/null) || continue
        case ${exe##*/} in
            wine*) ;;
            *) continue ;;
        esac
        [ "$proc/root" -ef / ] &&
            grep -qzxF "WINEPREFIX=$WINEPREFIX" "$proc/environ" 2>/dev/null &&
            printf '%s\n' "${proc#/proc/}"
    done
}

# Starts the session: a persistent server and Wine's desktop and services,
# booted once. Their output goes to /dev/null: they outlive the command that
# started them, and a pipe they inherited (ctest's) would stay open until its
# timeout.
vok_wine_session_start() {
    vok_wine_session_end
    vok_as_wine_user wineserver -p </dev/null >/dev/null 2>&1 || vok_die "wineserver -p failed"
    vok_as_wine_user wine wineboot </dev/null >/dev/null 2>&1 || vok_die "wineboot failed"
    # Lets scripts/wine-run.sh skip the set-up done here.
    export VOK_WINE_SESSION=1
}

# Ends the session of this prefix: the server is asked to end its programs
# and itself, within a bound (a server that loops forever answers nothing),
# then whatever is left is ended as after a hang.
vok_wine_session_end() {
    vok_as_wine_user timeout 20 wineserver -k >/dev/null 2>&1
    vok_as_wine_user timeout 20 wineserver -w >/dev/null 2>&1
    vok_wine_session_kill
}

# Ends every Wine process of this prefix by its id, the server last: after a
# hang, `wineserver -k` can leave programs blocked on the dead server's pipes.
vok_wine_session_kill() {
    local pid pids server
    for _ in $(seq 1 20); do
        mapfile -t pids < <(vok_wine_pids)
        [ "${#pids[@]}" -gt 0 ] || return 0
        server=()
        for pid in "${pids[@]}"; do
            case $(readlink "/proc/$pid/exe" 2>/dev/null) in
                */wineserver*) server+=("$pid") ;;
                *) kill -KILL "$pid" 2>/dev/null ;;
            esac
        done
        [ "${#server[@]}" -eq "${#pids[@]}" ] && kill -KILL "${server[@]}" 2>/dev/null
        sleep 0.5
    done
    mapfile -t pids < <(vok_wine_pids)
    [ "${#pids[@]}" -eq 0 ] || vok_note "warning: Wine processes still running: ${pids[*]}"
}
