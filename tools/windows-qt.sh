# Builds Qt's qtbase for 64-bit Windows (MinGW-w64) from Debian's own source of the
# Qt the Linux build uses, once, into a cache folder outside the checkout.
# Sourced by tools/windows; sets kestrel_qt_prefix. Needs the MinGW packages.

# The cache is keyed by the Debian version of Qt, these options and the toolchain
# file: change any of them and the next run builds a new Qt beside the old one.
kestrel_qt_options=(-xplatform win32-g++ -qt-host-path /usr -release -shared
    -nomake tests -nomake examples -no-pkg-config
    -qt-zlib -qt-libpng -no-libjpeg -no-gif -no-ico
    -qt-freetype -qt-harfbuzz -qt-pcre -qt-doubleconversion
    -no-zstd -no-icu -no-glib -no-openssl -no-dbus
    -no-opengl -no-vulkan -no-direct2d -no-feature-directwrite3
    -no-feature-network -no-feature-sql -no-feature-xml
    -no-feature-printsupport -no-feature-concurrent -no-feature-tabletevent)

kestrel_build_windows_qt() {
    local top toolchain qt_version key cache prefix work
    top="$(pwd)"
    toolchain="$top/cmake/mingw-w64-x86_64.cmake"
    qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
    key="$(printf '%s\n' "$qt_version" "${kestrel_qt_options[*]}" | cat - "$toolchain" |
        sha256sum | cut -c1-12)"
    cache="${XDG_CACHE_HOME:-$HOME/.cache}/kestrel"
    prefix="$cache/qt-${qt_version}-mingw-$key"
    kestrel_qt_prefix="$prefix"
    if [ -f "$prefix/.complete" ]; then
        echo "Qt $qt_version for Windows: $prefix (cached)"
        return 0
    fi

    echo "Qt $qt_version for Windows: building into $prefix (most of an hour on two cores)"
    work="$cache/work-$key"
    rm -rf "$work" "$prefix"
    mkdir -p "$work/lists" "$work/build"

    # Debian's source of the same version, through a source list of our own: the
    # system's lists stay as they are. The URI and key are those of the system's
    # bookworm entry.
    local uri keyring
    uri="$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null)"
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    [ -n "$uri" ] || uri=http://deb.debian.org/debian
    echo "deb-src [signed-by=$keyring] $uri bookworm main" >"$work/sources.list"
    local apt_opts=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
        -o "Dir::State::Lists=$work/lists" -o APT::Sandbox::User=root)
    mkdir -p "$work/lists/partial"
    apt-get "${apt_opts[@]}" update -qq
    (cd "$work" && apt-get "${apt_opts[@]}" source -qq "qt6-base=$qt_version")
    local src
    src="$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)"
    [ -n "$src" ] || { echo "Qt's source was not unpacked in $work" >&2; return 1; }

    (cd "$work/build" &&
        "$src/configure" -prefix "$prefix" "${kestrel_qt_options[@]}" \
            -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$work/configure.log" 2>&1) ||
        { tail -n 40 "$work/configure.log" >&2; return 1; }
    (cd "$work/build" && nice -n 19 cmake --build . --parallel "$(nproc)" >"$work/build.log" 2>&1) ||
        { grep -B2 -A20 -m3 'FAILED' "$work/build.log" >&2 || tail -n 40 "$work/build.log" >&2; return 1; }
    (cd "$work/build" && cmake --install . >"$work/install.log" 2>&1) ||
        { tail -n 40 "$work/install.log" >&2; return 1; }
    # Qt's licence texts travel with the programs.
    mkdir -p "$prefix/licenses"
    cp "$src"/LICENSES/* "$prefix/licenses/" 2>/dev/null || true
    cp "$src/debian/copyright" "$prefix/licenses/debian-copyright" 2>/dev/null || true
    touch "$prefix/.complete"
    rm -rf "$work"
    echo "Qt $qt_version for Windows: built"
}
