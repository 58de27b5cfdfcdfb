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
# Both Windows builds are made on every machine; Wine's 32-bit side only where
# the machine runs 32-bit programs (vok_install_dependencies adds it).
VOK_PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-dev
    googletest libgtest-dev libbenchmark-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
    wine wine64
    xvfb xauth imagemagick x11-utils
    strip-nondeterminism python3
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

# --- Windows architectures ---------------------------------------------------
#
# The launcher ships as a 32-bit (i686) program. Some machines run no 32-bit
# x86 program at all (a kernel without IA-32 emulation), and the package
# manager does not know it: Wine's 32-bit side installs and then fails on
# every call. There the tests run the x86_64 twin of every Windows build, in a
# 64-bit prefix, under Wine's 64-bit loader.

# Whether this machine runs 32-bit x86 programs, found by running one: 96
# bytes of i386 ELF whose only work is to exit with 42. It is written under
# build/, since /tmp may forbid running programs.
vok_runs_i386() {
    local probe rc
    local elf=7f454c460101010000000000000000000200030001000000548004083400000000000000000000003400200001000000000000000100000000000000008004080080040860000000600000000500000000100000b801000000bb2a000000cd80
    mkdir -p "$VOK_ROOT/build"
    probe=$(mktemp "$VOK_ROOT/build/.i386-probe.XXXXXX") || return 1
    printf '%b' "$(sed 's/../\\x&/g' <<<"$elf")" >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null
    rc=$?
    rm -f "$probe"
    [ "$rc" -eq 42 ]
}

# Sets VOK_WINE_ARCHS to the Windows architectures that run under Wine here
# ("i686 x86_64" or "x86_64"), VOK_WINE_WHY to which and why, and prints it. A
# caller's VOK_WINE_ARCHS=x86_64 makes a machine that runs both behave as one
# that runs no 32-bit program, to try what such a machine meets.
vok_choose_wine_archs() {
    local why
    case ${VOK_WINE_ARCHS:-} in
        x86_64) why="x86_64 only: VOK_WINE_ARCHS=x86_64, as on a machine that cannot run 32-bit programs" ;;
        "" | "i686 x86_64")
            if vok_runs_i386; then
                VOK_WINE_ARCHS="i686 x86_64" why="i686 and x86_64"
            elif [ -n "${VOK_WINE_ARCHS:-}" ]; then
                vok_die "VOK_WINE_ARCHS names i686, but this machine cannot run 32-bit programs"
            else
                VOK_WINE_ARCHS=x86_64 why="x86_64 only: this machine cannot run 32-bit programs"
            fi
            ;;
        *) vok_die "VOK_WINE_ARCHS is 'x86_64' or 'i686 x86_64', not '$VOK_WINE_ARCHS'" ;;
    esac
    export VOK_WINE_ARCHS VOK_WINE_WHY=$why
    vok_note "Windows programs under Wine: $why"
}

# Whether ARCH is one VOK_WINE_ARCHS names.
vok_wine_runs() { case " $VOK_WINE_ARCHS " in *" $1 "*) return 0 ;; esac; return 1; }

# The first architecture that runs here, i686 where it can: what run.sh starts.
vok_wine_first_arch() { vok_wine_runs i686 && echo i686 || echo x86_64; }

# The architecture of a Windows program, from its PE header's machine field.
vok_pe_arch() {
    local pe
    pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 1
    case $(od -An -tx2 -j$((pe + 4)) -N2 "$1" 2>/dev/null | tr -d ' ') in
        014c) echo i686 ;;
        8664) echo x86_64 ;;
        *) return 1 ;;
    esac
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
    # Wine's 32-bit side is installed only where it can run: elsewhere its
    # mere presence would make Debian's wine script choose it.
    vok_wine_runs i686 && VOK_PACKAGES+=(wine32:i386)
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
#
# Wine runs as an unprivileged user (see the top), once for all of ctest, each
# architecture in a prefix of its own under build/wine/, by its own loader
# named directly: Debian's wine script picks the 32-bit one if installed.

vok_wine_user() { if vok_is_root; then echo "${VOK_WINE_USER:-voktest}"; else id -un; fi; }

# Runs a command as the Wine user, keeping the environment (WINE*, DISPLAY).
vok_as_wine_user() { if vok_is_root; then runuser -u "$(vok_wine_user)" -- "$@"; else "$@"; fi; }

# Runs a command as the Wine user, on a display of Xvfb of its own.
vok_on_display_as_wine_user() { vok_as_wine_user xvfb-run -a -s "$VOK_XVFB_SCREEN" "$@"; }

# Makes the folders (what ctest or CMake write as the Wine user) that user's.
vok_give_wine_user() {
    vok_wine_user_setup && mkdir -p "$@" && { ! vok_is_root || chown -R "$(vok_wine_user):" "$@"; }
}

# vok_wine_env ARCH: the environment of every Wine call for ARCH. A caller's
# WINEDLLOVERRIDES (a GUI test selecting a stand-in DLL) is kept; Mono and
# Gecko are off, so Wine never offers to install them. Wine names Unix files
# in the charset of the Unix locale, and in the C locale of a machine that
# sets none it can make no file named outside ASCII: there it runs in C.UTF-8.
vok_wine_env() {
    case $1 in
        i686) export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine ;;
        x86_64) export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 ;;
        *) vok_die "no Wine for architecture '$1'" ;;
    esac
    [ -x "$WINELOADER" ] || vok_die "no Wine loader $WINELOADER for $1"
    export WINESERVER=/usr/lib/wine/wineserver64 WINEDEBUG="${WINEDEBUG:--all}"
    [ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver32
    export WINEPREFIX="${VOK_WINE_PREFIXES:-$VOK_ROOT/build/wine}/$1"
    [[ ${WINEDLLOVERRIDES:-} == *mscoree* ]] || export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
    [ -n "${LC_ALL:-}${LC_CTYPE:-}${LANG:-}" ] || export LANG=C.UTF-8
}

# As root: creates the Wine user when missing, gives it the folder of the
# prefixes and lets it reach the build tree. CI clones where we do not
# choose, maybe under /root (mode 700): rather than copying programs and
# data elsewhere (ctest and the Wine user would see different paths), each
# folder above the build tree gets the traverse bit for others (o+x), which
# allows passing through, not listing.
vok_wine_user_setup() {
    vok_is_root || return 0
    local user dir="" part parts
    user=$(vok_wine_user)
    if ! id -u "$user" >/dev/null 2>&1; then
        vok_note "creating user $user to run Wine"
        useradd --create-home --shell /bin/bash "$user" || vok_die "cannot create user $user"
    fi
    mkdir -p "${VOK_WINE_PREFIXES:-$VOK_ROOT/build/wine}"
    chown "$user:" "${VOK_WINE_PREFIXES:-$VOK_ROOT/build/wine}"
    IFS=/ read -r -a parts <<<"${VOK_ROOT#/}/build"
    for part in "" "${parts[@]}"; do
        dir="$dir$part/"
        runuser -u "$user" -- test -x "$dir" || chmod o+x "$dir"
    done
}

# Creates the prefix of vok_wine_env's architecture on first use, once
# however many callers race (the lock). One whose creation was cut short
# (no mark) is made anew.
vok_wine_prefix() {
    local mark="$WINEPREFIX/.vok-ready-2"
    [ -f "$mark" ] && return 0
    mkdir -p "${WINEPREFIX%/*}"
    (
        flock 9
        [ -f "$mark" ] && exit 0
        vok_note "creating Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX" && vok_as_wine_user mkdir -p "$WINEPREFIX"
        vok_as_wine_user "$WINELOADER" wineboot -i </dev/null >/dev/null 2>&1 ||
            vok_die "wineboot -i failed for $WINEPREFIX"
        # Debian's Wine leaves its bitmap fonts out of a new prefix: "MS Sans
        # Serif" then falls back to a font 1 px smaller, every dialog shrinks
        # by about 8 % and pictures overlap their frames.
        for font in sserife.fon sserifee.fon marlett.ttf; do
            [ ! -f "/usr/share/wine/fonts/$font" ] ||
                vok_as_wine_user cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
        done
        # Without a window manager every closing dialog otherwise costs ~2 s.
        vok_as_wine_user "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            </dev/null >/dev/null 2>&1
        # A server started without a display fails every window of a later
        # session: it must not outlive the creation.
        vok_as_wine_user "$WINESERVER" -k >/dev/null 2>&1
        vok_as_wine_user "$WINESERVER" -w >/dev/null 2>&1
        vok_as_wine_user touch "$mark"
    ) 9>"$WINEPREFIX.lock"
}

# The Wine programs (wine, its preloader, wineserver) of this prefix's session:
# those whose environment names the prefix and whose root directory is ours
# (a Debian root tried with scripts/check-debian.sh sees the host's too).
vok_wine_pids() {
    local proc
    for proc in /proc/[0-9]*; do
        case $(readlink "$proc/exe" 2>/dev/null) in */wine*) ;; *) continue ;; esac
        [ "$proc/root" -ef / ] && grep -qzxF "WINEPREFIX=$WINEPREFIX" "$proc/environ" 2>/dev/null &&
            echo "${proc#/proc/}"
    done
}

# Starts the session: a persistent server and Wine's desktop and services,
# booted once. Their output goes to /dev/null: they outlive the command that
# started them, and a pipe they inherited (ctest's) would stay open.
vok_wine_session_start() {
    vok_wine_session_end
    vok_as_wine_user "$WINESERVER" -p </dev/null >/dev/null 2>&1 || vok_die "wineserver -p failed"
    vok_as_wine_user "$WINELOADER" wineboot </dev/null >/dev/null 2>&1 || vok_die "wineboot failed"
}

# Ends the session: the server is asked to end its programs and itself,
# within a bound (one that loops forever answers nothing), then what is left
# is ended as after a hang.
vok_wine_session_end() {
    vok_as_wine_user timeout 20 "$WINESERVER" -k >/dev/null 2>&1
    vok_as_wine_user timeout 20 "$WINESERVER" -w >/dev/null 2>&1
    vok_wine_session_kill
}

# Ends every Wine process of this prefix by its id: after a hang, `wineserver
# -k` can leave programs blocked on the dead server's pipes.
vok_wine_session_kill() {
    local pids
    for _ in $(seq 1 20); do
        mapfile -t pids < <(vok_wine_pids)
        [ "${#pids[@]}" -gt 0 ] || return 0
        kill -KILL "${pids[@]}" 2>/dev/null
        sleep 0.5
    done
    vok_note "warning: Wine processes still running: ${pids[*]}"
}
