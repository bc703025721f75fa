# Sourced after common.sh by scripts/package and scripts/test. build_package
# makes the Debian package from a Release build in build-package/, compiled
# with Debian's build flags (hardening, fortified functions); the folder is
# configured once and afterwards only what changed is rebuilt.
# check_package runs the package's checks on what build_package made.

PACKAGE_BUILD_DIR="$ROOT/build-package"
# What building and checking the package needs beyond RUN_PACKAGES.
PACKAGE_PACKAGES=(dpkg-dev file lintian appstream)

# The path of the package for the configured version, on this machine's
# architecture.
package_file() {
    local version
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$PACKAGE_BUILD_DIR/CMakeCache.txt")
    echo "$PACKAGE_BUILD_DIR/zanfor-layout_${version}_$(dpkg --print-architecture).deb"
}

build_package() {
    if [ ! -f "$PACKAGE_BUILD_DIR/build.ninja" ]; then
        # All of Debian's hardening, bindnow included: the program binds its
        # own few symbols at start instead of on first call.
        local -x DEB_BUILD_MAINT_OPTIONS=hardening=+all
        CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
        LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
            cmake -S "$ROOT" -B "$PACKAGE_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
                -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
    fi
    # Only what the package holds; the tests and benchmarks are built elsewhere.
    cmake --build "$PACKAGE_BUILD_DIR" --target zanfor-layout zanfor_compressed_docs
    (cd "$PACKAGE_BUILD_DIR" && cpack -G DEB >/dev/null)
    package_file
}

# The files the package must hold, one absolute path a line: the text block
# after "The package holds exactly these files" in the README.
readme_package_contents() {
    awk '/The package holds exactly these files/ { found = 1; next }
         found && /^```/ { if (inside) exit; inside = 1; next }
         inside && NF { print }' "$ROOT/README.md" | LC_ALL=C sort
}

# check_package DEB: lintian reports neither error nor warning; the AppStream
# file validates; the files are exactly those the README lists; Depends was
# computed from the binary; the program from the unpacked package answers
# --version without a display.
check_package() {
    local deb=$1 unpacked="$PACKAGE_BUILD_DIR/unpacked" version answer
    echo "== The package $(basename "$deb")"
    lintian --fail-on error,warning "$deb"

    rm -rf "$unpacked"
    dpkg-deb -x "$deb" "$unpacked"
    appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml

    if ! diff -u <(readme_package_contents) \
                 <(dpkg-deb -c "$deb" | awk '/^-/ { print substr($6, 2) }' | LC_ALL=C sort); then
        echo "The package's files (+) differ from the README's list (-)." >&2
        return 1
    fi
    if ! dpkg-deb -f "$deb" Depends | grep -q 'libqt6webenginewidgets6'; then
        echo "Depends does not name the Qt libraries the program links: $(dpkg-deb -f "$deb" Depends)" >&2
        return 1
    fi

    version=$(dpkg-deb -f "$deb" Version)
    answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$unpacked/usr/bin/zanfor-layout" --version)
    if [ "$answer" != "zanfor-layout $version" ]; then
        echo "The packaged program answers '$answer' to --version, not 'zanfor-layout $version'." >&2
        return 1
    fi
    echo "lintian, appstreamcli, contents, Depends and --version: all good"
}
