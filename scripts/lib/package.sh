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
