# Shared by the scripts: package installation and the build folders.
# Source it; it defines functions only.

CARILLIX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# Installs the Debian packages named in the given files that are missing:
# as root directly, otherwise through sudo, otherwise prints the apt-get line and fails.
carillix_install_packages() {
    local wanted missing=()
    wanted=$(cat "$@" | grep -v '^#' | sort -u)
    for package in $wanted; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local install=(env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}")
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -eq 0 ]; then
        apt-get -o DPkg::Lock::Timeout=600 update -qq && "${install[@]}"
    elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        sudo apt-get -o DPkg::Lock::Timeout=600 update -qq && sudo "${install[@]}"
    else
        echo "Carillix needs these Debian packages; install them with:" >&2
        echo "  sudo apt-get install ${missing[*]}" >&2
        return 1
    fi
}

# Configures and builds one build folder: carillix_build DIR [cmake options...]
carillix_build() {
    local dir="$1"
    shift
    cmake -S "$CARILLIX_ROOT" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 ||
        { cat "$dir.configure.log"; return 1; }
    cmake --build "$dir" --parallel "$(nproc)"
}

# Fails when anything built in the given folder links Qt: the engine and
# carillix-cli must stand without it.
carillix_expect_no_qt() {
    local dir="$1" linked
    linked=$(find "$dir" -type f -perm -u+x -exec sh -c \
        'ldd "$1" 2>/dev/null | grep -q libQt6 && echo "$1"' _ {} \;)
    if [ -n "$linked" ]; then
        echo "These programs link Qt but should not:" >&2
        echo "$linked" >&2
        return 1
    fi
    grep -q libQt6 "$dir/build.ninja" && { echo "$dir/build.ninja mentions Qt" >&2; return 1; }
    echo "Nothing in $dir links Qt."
}
