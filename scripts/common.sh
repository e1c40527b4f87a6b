# Shared by scripts/run and scripts/test: install what is missing, then build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# apt_install PACKAGE...: Debian's packages, as root or through sudo.
apt_install() {
    [ $# -eq 0 ] && return 0
    echo "Installing missing packages: $*"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@"
}

# install_missing_packages [GROUP]: the unmarked packages, plus those marked "GROUP:".
install_missing_packages() {
    local group="${1:-}" wanted missing=()
    wanted=$(grep -v -E '^\s*(#|$)' "$ROOT/scripts/packages.txt" | grep -v ':' || true)
    if [ -n "$group" ]; then
        wanted="$wanted $(grep -E "^$group:" "$ROOT/scripts/packages.txt" | sed "s/^$group://")"
    fi
    for pkg in $wanted; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    apt_install "${missing[@]}"
}

# install_missing_commands GROUP: the packages of "GROUP-command: COMMAND
# PACKAGE" lines whose command is not there.
install_missing_commands() {
    local group="$1" command package missing=()
    while read -r command package; do
        command -v "$command" > /dev/null || missing+=("$package")
    done < <(grep -E "^$group-command:" "$ROOT/scripts/packages.txt" | sed "s/^$group-command://")
    apt_install "${missing[@]}"
}

# build_web: the browser edition, its site in build-web/site.
build_web() {
    install_missing_packages web
    install_missing_commands web
    # Debian's emscripten needs Debian's own node-acorn, which a Node.js from
    # elsewhere does not look for.
    export NODE_PATH=/usr/share/nodejs
    local libraries
    libraries=$(web_library_prefix)
    # The npm packages exactly as package-lock.json has them, installed again
    # only when it changes.
    (cd "$ROOT/web" && if ! cmp -s package-lock.json node_modules/.installed-lock 2>/dev/null; then
        npm ci --no-audit --no-fund --loglevel=error && cp package-lock.json node_modules/.installed-lock; fi)
    emcmake cmake -S "$ROOT" -B "$ROOT/build-web" -DCMAKE_BUILD_TYPE=Release -DLARKSPUR_WEB_LIBRARIES="$libraries" > /dev/null
    cmake --build "$ROOT/build-web" --parallel "$(nproc)"
}

# build DIR [extra cmake args...]
build_tree() {
    local dir="$1"; shift
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dir" --parallel "$(nproc)"
}

# build_windows DIR [extra cmake args...]: the Windows cross-build (mingw-w64).
build_windows() {
    local dir="$1"; shift
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" "$@"
    cmake --build "$dir" --parallel "$(nproc)"
}

# Qt 6.4.2 for Windows, cross-built from Debian's own qt6-base source with
# mingw-w64, with Debian's host Qt as the host tools. It lives in the user's
# cache folder, shared by every clone, keyed on everything that shapes it.
QT_WINDOWS_CACHE="${XDG_CACHE_HOME:-$HOME/.cache}/larkspur-theme-editor"
QT_WINDOWS_OPTIONS=(
    -release -shared -opensource -confirm-license -nomake examples -nomake tests
    -no-opengl -no-dbus -no-icu -no-glib -no-zstd -no-pkg-config -no-fontconfig
    -no-direct2d -no-vulkan -no-libjpeg
    # The source tarball has no wintab; with no Direct2D the DirectWrite font
    # database is left out of Gui while the platform plugin would still use it.
    -no-feature-tabletevent -no-feature-directwrite
    -no-feature-sql -no-feature-network -no-feature-printsupport -no-feature-xml
    -no-feature-concurrent -no-feature-androiddeployqt
    -qt-zlib -qt-libpng -qt-freetype -qt-harfbuzz -qt-pcre -qt-doubleconversion
    -qt-libb2 -qt-libmd4c
)

# The private apt set-up that fetches the source: its own sources (the system's
# Debian mirrors as deb-src), lists and cache. The system's apt is not touched.
qt_windows_apt() {
    local apt="$QT_WINDOWS_CACHE/apt"
    mkdir -p "$apt/sources.d" "$apt/lists/partial" "$apt/cache/archives/partial"
    : > "$apt/sources.d/debian-src.sources"
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        sed -n '/^Types:/{s/.*/Types: deb-src/;p;d};/^#/d;p' "$file" >> "$apt/sources.d/debian-src.sources"
        echo >> "$apt/sources.d/debian-src.sources"
    done
    : > "$apt/sources.list"
    if [ -f /etc/apt/sources.list ]; then
        sed -n 's/^deb[[:space:]]/deb-src /p' /etc/apt/sources.list >> "$apt/sources.list"
    fi
    apt-get -o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/sources.d" \
        -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" \
        -o Dir::State::Status=/var/lib/dpkg/status -o Debug::NoLocking=1 \
        -o APT::Sandbox::User="$(id -un)" "$@"
}

# The Qt prefix for the Windows build; builds it first when the cache has none.
windows_qt_prefix() {
    local version
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
    local toolchain="$ROOT/cmake/qt-mingw-w64-x86_64.cmake"
    local key
    key=$( { echo "$version"; printf '%s\n' "${QT_WINDOWS_OPTIONS[@]}";
             x86_64-w64-mingw32-g++-posix --version | head -1; cat "$toolchain"; } |
           sha256sum | cut -c1-12)
    local prefix="$QT_WINDOWS_CACHE/qt-6.4.2-mingw64-$key"
    if [ -f "$prefix/.complete" ]; then
        echo "$prefix"
        return 0
    fi
    local work="$QT_WINDOWS_CACHE/work-$key"
    local started=$SECONDS
    rm -rf "$work" "$prefix" "$prefix.partial"
    mkdir -p "$work/download"
    echo "Qt for Windows: not in $QT_WINDOWS_CACHE yet; building it once (about 30 to 45 minutes on 2 cores)." >&2
    echo "Qt for Windows: fetching the qt6-base $version source" >&2
    qt_windows_apt update -qq >&2
    (cd "$work/download" && { qt_windows_apt source --download-only -qq "qt6-base=$version" >&2 ||
                              qt_windows_apt source --download-only -qq qt6-base >&2; })
    local orig debian
    orig=$(ls "$work"/download/qt6-base_*.orig.tar.* | head -1)
    debian=$(ls "$work"/download/qt6-base_*.debian.tar.* | head -1)
    mkdir -p "$work/src"
    tar -xf "$orig" -C "$work/src" --strip-components=1
    tar -xf "$debian" -C "$work/src"
    local patch
    while read -r patch; do
        case "$patch" in ''|'#'*) continue ;; esac
        patch -d "$work/src" -p1 -s < "$work/src/debian/patches/$patch"
    done < "$work/src/debian/patches/series"
    echo "Qt for Windows: configuring" >&2
    mkdir -p "$work/build"
    # A rebuild with other options compiles again only what they change;
    # precompiled headers need the sloppiness to be cached at all.
    export CCACHE_DIR="$QT_WINDOWS_CACHE/ccache" CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
    (cd "$work/build" && "$work/src/configure" -prefix "$prefix.partial" \
        -qt-host-path /usr "${QT_WINDOWS_OPTIONS[@]}" -- -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
        > "$work/configure.log" 2>&1) || { tail -40 "$work/configure.log" >&2; return 1; }
    echo "Qt for Windows: compiling (log: $work/build.log)" >&2
    # ninja's own progress, one line in fifty, so a CI log stays short.
    (cd "$work/build" && ninja -j "$(nproc)" > "$work/build.log" 2>&1) &
    local builder=$!
    while kill -0 "$builder" 2>/dev/null; do
        sleep 30
        grep -o '^\[[0-9]*/[0-9]*\]' "$work/build.log" 2>/dev/null | tail -1 |
            sed "s/^/Qt for Windows: step /;s/\$/ after $(( (SECONDS - started) / 60 )) min/" >&2 || true
    done
    wait "$builder" || { grep -B2 -A20 -m3 'FAILED\|error:' "$work/build.log" >&2; return 1; }
    (cd "$work/build" && ninja install > "$work/install.log" 2>&1) || { tail -40 "$work/install.log" >&2; return 1; }
    # The MinGW runtime the DLLs were linked against goes beside them.
    cp /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll \
       /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll \
       /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$prefix.partial/bin/"
    cp "$work/src/LICENSES/LGPL-3.0-only.txt" "$prefix.partial/LGPL-3.0-only.txt" 2>/dev/null || true
    cp "$work/src/LICENSES/GPL-3.0-only.txt" "$prefix.partial/GPL-3.0-only.txt" 2>/dev/null || true
    basename "$orig" > "$prefix.partial/SOURCE.txt"
    echo "$version" >> "$prefix.partial/SOURCE.txt"
    touch "$prefix.partial/.complete"
    mv "$prefix.partial" "$prefix"
    rm -rf "$work"
    echo "Qt for Windows: built in $(( (SECONDS - started) / 60 )) min into $prefix" >&2
    echo "$prefix"
}

# fetch_debian_sources WORK NAME=VERSION... : Debian's source packages, the
# exact versions where the mirrors serve them, else the release's own (a
# security mirror may list sources it does not serve), each unpacked with its
# patches applied into WORK/SOURCE-NAME.
fetch_debian_sources() {
    local work="$1" wanted name patch
    shift
    mkdir -p "$work/download"
    qt_windows_apt update -qq >&2
    for wanted in "$@"; do
        (cd "$work/download" && { qt_windows_apt source --download-only -qq "$wanted" >&2 ||
                                  qt_windows_apt source --download-only -qq "${wanted%%=*}/bookworm" >&2; })
        name=${wanted%%=*}
        mkdir -p "$work/$name"
        tar -xf "$(ls "$work"/download/${name}_*.orig.tar.* | head -1)" -C "$work/$name" --strip-components=1
        tar -xf "$(ls "$work"/download/${name}_*.debian.tar.* | head -1)" -C "$work/$name"
        if [ -f "$work/$name/debian/patches/series" ]; then
            while read -r patch; do
                case "$patch" in ''|'#'*) continue ;; esac
                patch -d "$work/$name" -p1 -s < "$work/$name/debian/patches/${patch%% *}"
            done < "$work/$name/debian/patches/series"
        fi
    done
}

# libpng and libjpeg-turbo for Windows, static, cross-built from Debian's own
# source packages of the versions the Linux build uses, into the user's
# cache folder beside Qt, keyed on the versions, the compiler and the options.
windows_picture_prefix() {
    local png jpeg key
    png=$(dpkg-query -W -f='${source:Package}=${source:Version}' libpng-dev)
    jpeg=$(dpkg-query -W -f='${source:Package}=${source:Version}' libjpeg62-turbo-dev)
    local jpeg_options=(-DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
                        -DWITH_JPEG8=OFF -DCMAKE_BUILD_TYPE=Release)
    key=$( { echo "$png $jpeg"; printf '%s\n' "${jpeg_options[@]}"; x86_64-w64-mingw32-gcc-posix --version | head -1;
             cat "$ROOT/cmake/mingw-w64-x86_64.cmake"; } | sha256sum | cut -c1-12)
    local prefix="$QT_WINDOWS_CACHE/pictures-mingw64-$key"
    if [ -f "$prefix/.complete" ]; then
        echo "$prefix"
        return 0
    fi
    local work="$QT_WINDOWS_CACHE/work-pictures-$key"
    rm -rf "$work" "$prefix.partial"
    mkdir -p "$work/download" "$prefix.partial"
    echo "Pictures for Windows: fetching the $png and $jpeg sources" >&2
    fetch_debian_sources "$work" "$png" "$jpeg"
    echo "Pictures for Windows: building libpng" >&2
    (cd "$work/libpng1.6" && ./configure --host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix \
        --prefix="$prefix.partial" --disable-shared --enable-static \
        CPPFLAGS="-I/usr/x86_64-w64-mingw32/include" LDFLAGS="-L/usr/x86_64-w64-mingw32/lib" \
        > "$work/libpng.log" 2>&1 && make -j "$(nproc)" libpng16.la >> "$work/libpng.log" 2>&1 &&
        make install-libLTLIBRARIES install-pkgincludeHEADERS install-nodist_pkgincludeHEADERS \
             install-header-links install-library-links >> "$work/libpng.log" 2>&1) ||
        { tail -30 "$work/libpng.log" >&2; return 1; }
    echo "Pictures for Windows: building libjpeg-turbo" >&2
    cmake -S "$work/libjpeg-turbo" -B "$work/libjpeg-build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix.partial" "${jpeg_options[@]}" > "$work/libjpeg.log" 2>&1 &&
        cmake --build "$work/libjpeg-build" --parallel "$(nproc)" --target jpeg-static >> "$work/libjpeg.log" 2>&1 ||
        { tail -30 "$work/libjpeg.log" >&2; return 1; }
    mkdir -p "$prefix.partial/include" "$prefix.partial/lib"
    cp "$work/libjpeg-turbo/jpeglib.h" "$work/libjpeg-turbo/jmorecfg.h" "$work/libjpeg-turbo/jerror.h" \
       "$work/libjpeg-build/jconfig.h" "$prefix.partial/include/"
    cp "$work/libjpeg-build/libjpeg.a" "$prefix.partial/lib/libjpeg.a"
    mkdir -p "$prefix.partial/licences"
    cp "$work/libpng1.6/LICENSE" "$prefix.partial/licences/libpng.txt"
    cp "$work/libjpeg-turbo/LICENSE.md" "$prefix.partial/licences/libjpeg-turbo.txt"
    echo "$png $jpeg" > "$prefix.partial/SOURCE.txt"
    touch "$prefix.partial/.complete"
    mv "$prefix.partial" "$prefix"
    rm -rf "$work"
    echo "$prefix"
}

# make_windows_dist BUILD_DIR QT_PREFIX PICTURES_PREFIX: the editor for Windows as a zip and as
# an installer, in BUILD_DIR/dist. The DLLs are gathered as windeployqt would:
# those the programs and the plugins import, found in Qt's prefix, followed
# through their own imports.
make_windows_dist() {
    local build qt="$2" pictures="$3"
    build=$(cd "$1" && pwd)
    local version
    version=$(sed -n 's/^project(LarkspurThemeEditor VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
    local name="larkspur-theme-editor-$version-win64"
    local dist="$build/dist" stage="$build/dist/$name"
    rm -rf "$dist"
    mkdir -p "$stage/platforms" "$stage/styles"
    cp "$build/larkspur-theme-editor.exe" "$build/lsthtool.exe" "$stage/"
    cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
    cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
    local queue=("$stage/larkspur-theme-editor.exe" "$stage/platforms/qwindows.dll" "$stage/styles/qwindowsvistastyle.dll")
    while [ ${#queue[@]} -gt 0 ]; do
        local pe="${queue[0]}" dll
        queue=("${queue[@]:1}")
        for dll in $(x86_64-w64-mingw32-objdump -p "$pe" | sed -n 's/^\s*DLL Name: //p'); do
            local found
            found=$(find "$qt/bin" -maxdepth 1 -iname "$dll" | head -1)
            if [ -n "$found" ] && [ ! -e "$stage/$(basename "$found")" ]; then
                cp "$found" "$stage/"
                queue+=("$stage/$(basename "$found")")
            fi
        done
    done
    find "$stage" -iname '*.exe' -o -iname '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded
    cp "$build/app/larkspur-theme-editor.ico" "$stage/"
    cp "$ROOT/dist/windows/README.txt" "$stage/README.txt"
    mkdir -p "$stage/licences"
    cp "$ROOT/render/FontData-LICENSE.txt" "$stage/licences/DejaVu-fonts.txt"
    cp "$qt/LGPL-3.0-only.txt" "$stage/licences/Qt-LGPL-3.0.txt"
    cp "$qt/GPL-3.0-only.txt" "$stage/licences/Qt-GPL-3.0.txt"
    { echo "The Qt DLLs beside the editor are Qt 6.4.2 built from Debian's source package"
      echo "qt6-base, version $(sed -n 2p "$qt/SOURCE.txt") (the upstream tarball $(sed -n 1p "$qt/SOURCE.txt")"
      echo "with Debian's patches), unmodified. Its source is at"
      echo "  https://snapshot.debian.org/package/qt6-base/$(sed -n 2p "$qt/SOURCE.txt")/"
      echo "and from any Debian 12 mirror with: apt-get source qt6-base"
      echo "Qt is used under the GNU LGPL version 3 (Qt-LGPL-3.0.txt, which builds on"
      echo "Qt-GPL-3.0.txt). You may replace the Qt DLLs with your own build of Qt 6.4."; } \
        > "$stage/licences/Qt-source.txt"
    cp /usr/share/doc/libz-mingw-w64-dev/copyright "$stage/licences/zlib.txt"
    cp "$pictures/licences/libpng.txt" "$pictures/licences/libjpeg-turbo.txt" "$stage/licences/"
    cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licences/mingw-w64-runtime.txt"
    cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licences/gcc-runtime.txt"
    # The uninstaller removes exactly the files the installer wrote.
    (cd "$stage" && find . -type f | sed 's|^\./||;s|/|\\|g' | sort |
        sed 's/^/  Delete "$INSTDIR\\/;s/$/"/') > "$dist/uninstall-files.nsh"
    (cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||;s|/|\\|g' | sort -r |
        sed 's/^/  RMDir "$INSTDIR\\/;s/$/"/') >> "$dist/uninstall-files.nsh"
    (cd "$dist" && zip -q -r "$name.zip" "$name")
    makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$dist/$name-setup.exe" \
        "$ROOT/dist/windows/installer.nsi"
    ls -1 "$dist/$name.zip" "$dist/$name-setup.exe"
}

# zlib, libpng and libjpeg-turbo for the browser, static, compiled with
# Debian's emscripten from Debian's own source packages of the versions the
# Linux build uses, cached beside the Windows libraries.
web_library_prefix() {
    local zlib png jpeg key
    zlib=$(dpkg-query -W -f='${source:Package}=${source:Version}' zlib1g-dev)
    png=$(dpkg-query -W -f='${source:Package}=${source:Version}' libpng-dev)
    jpeg=$(dpkg-query -W -f='${source:Package}=${source:Version}' libjpeg62-turbo-dev)
    # Decoding a picture and compressing an export are rare: small before fast.
    local cflags="-Oz"
    local jpeg_options=(-DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
                        -DWITH_JPEG8=OFF -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="$cflags -DNDEBUG"
                        # emscripten's CMake measures types by running a test under
                        # Node, which reports nonsense here: wasm32 is known.
                        -DHAVE_SIZE_T=TRUE -DSIZE_T=4 -DHAVE_UNSIGNED_LONG=TRUE -DUNSIGNED_LONG=4)
    key=$( { echo "$zlib $png $jpeg $cflags"; printf '%s\n' "${jpeg_options[@]}"; emcc --version | head -1; } |
           sha256sum | cut -c1-12)
    local prefix="$QT_WINDOWS_CACHE/web-libraries-$key"
    if [ -f "$prefix/.complete" ]; then
        echo "$prefix"
        return 0
    fi
    local work="$QT_WINDOWS_CACHE/work-web-$key"
    rm -rf "$work" "$prefix.partial"
    mkdir -p "$work/download" "$prefix.partial/include" "$prefix.partial/lib" "$prefix.partial/licences"
    echo "Libraries for the browser: fetching the $zlib, $png and $jpeg sources" >&2
    fetch_debian_sources "$work" "$zlib" "$png" "$jpeg"
    echo "Libraries for the browser: building zlib and libpng" >&2
    # Both are plain C with no configuration to speak of: their sources, compiled.
    (cd "$work/zlib" && emcc $cflags -c adler32.c compress.c crc32.c deflate.c infback.c inffast.c inflate.c \
        inftrees.c trees.c uncompr.c zutil.c && emar rcs "$prefix.partial/lib/libz.a" ./*.o &&
        cp zlib.h zconf.h "$prefix.partial/include/") > "$work/zlib.log" 2>&1 ||
        { tail -30 "$work/zlib.log" >&2; return 1; }
    (cd "$work/libpng1.6" && cp scripts/pnglibconf.h.prebuilt pnglibconf.h &&
        emcc $cflags -I"$prefix.partial/include" -c png.c pngerror.c pngget.c pngmem.c pngpread.c pngread.c \
            pngrio.c pngrtran.c pngrutil.c pngset.c pngtrans.c pngwio.c pngwrite.c pngwtran.c pngwutil.c &&
        emar rcs "$prefix.partial/lib/libpng.a" ./*.o &&
        cp png.h pngconf.h pnglibconf.h "$prefix.partial/include/") > "$work/libpng.log" 2>&1 ||
        { tail -30 "$work/libpng.log" >&2; return 1; }
    echo "Libraries for the browser: building libjpeg-turbo" >&2
    emcmake cmake -S "$work/libjpeg-turbo" -B "$work/libjpeg-build" -DCMAKE_INSTALL_PREFIX="$prefix.partial" \
        "${jpeg_options[@]}" > "$work/libjpeg.log" 2>&1 &&
        cmake --build "$work/libjpeg-build" --parallel "$(nproc)" --target jpeg-static >> "$work/libjpeg.log" 2>&1 ||
        { tail -30 "$work/libjpeg.log" >&2; return 1; }
    cp "$work/libjpeg-turbo/jpeglib.h" "$work/libjpeg-turbo/jmorecfg.h" "$work/libjpeg-turbo/jerror.h" \
       "$work/libjpeg-build/jconfig.h" "$prefix.partial/include/"
    cp "$work/libjpeg-build/libjpeg.a" "$prefix.partial/lib/libjpeg.a"
    cp "$work/zlib/debian/copyright" "$prefix.partial/licences/zlib.txt"
    cp "$work/libpng1.6/LICENSE" "$prefix.partial/licences/libpng.txt"
    cp "$work/libjpeg-turbo/LICENSE.md" "$prefix.partial/licences/libjpeg-turbo.txt"
    echo "$zlib $png $jpeg" > "$prefix.partial/SOURCE.txt"
    touch "$prefix.partial/.complete"
    mv "$prefix.partial" "$prefix"
    rm -rf "$work"
    echo "$prefix"
}
