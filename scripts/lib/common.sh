# Shared by scripts/run and scripts/test: install what is missing, build.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD_DIR="$ROOT/build"

# Debian packages the program needs to build and run.
RUN_PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-declarative-dev qt6-webengine-dev libgl-dev
    libgumbo-dev            # HTML5 parser for the editable content pieces
    libfontconfig-dev       # the font configuration, read ahead at start-up
    qt6-translations-l10n   # Chinese texts of Qt's own dialogs
    fonts-wqy-microhei      # a CJK font for the Chinese captions
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# ensure_packages PKG... : installs those not yet installed, in one apt-get run.
ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if ! command -v apt-get >/dev/null; then
        echo "These packages are missing and there is no apt-get to install them: ${missing[*]}" >&2
        return 1
    fi
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build [extra cmake args...]: configures once, then builds what changed.
build() {
    if [ ! -f "$BUILD_DIR/build.ninja" ]; then
        cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    fi
    cmake --build "$BUILD_DIR"
}

# QtWebEngine refuses to start as root with its sandbox on; switch it off
# only then, never for a normal user.
webengine_sandbox_for_root() {
    if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
}
