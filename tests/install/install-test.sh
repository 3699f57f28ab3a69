#!/usr/bin/env bash
# The install checks, one mode per ctest entry. A mode whose tools are missing says which and exits
# 77, which ctest counts as skipped.
#   tree BUILD ROOT LIBDIR      cmake --install into ROOT with prefix /usr; what is there, and only that
#   desktop ROOT                the desktop entry and the metainfo validate
#   pages ROOT                  the manual pages render and describe every option --help lists
#   unit ROOT                   systemd-analyze verifies the user unit
#   consumer BUILD ROOT SOURCE  a project of someone else's builds against ROOT and signs on to tocd
#   deb BUILD OUT SOURCE PREFIX VERSION
#                               cpack -G DEB: the three packages, their files and dependencies, lintian,
#                               and the packaged tarnwick runs. The packages are made from a tree
#                               configured for /usr (BUILD when it is, else one kept in OUT-tree).
set -euo pipefail
mode=$1
app_id=org.tarnwick.Tarnwick
fail() { echo "install-test: $*" >&2; exit 1; }
need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (bash scripts/install-deps.sh installs it)"; exit 77; }
    done
}
# Without a display, as a package's post-install check or a user over ssh would run it.
version_runs() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" --version | grep -q '^Tarnwick '; }

case $mode in
tree)
    build=$2 root=$3 libdir=$4
    rm -rf "$root"
    DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
    docs=
    for package in tarnwick tarnwick-tocd libtarnwick-toc-dev; do
        docs+="share/doc/$package/changelog.gz share/doc/$package/copyright "
    done
    expected=$(sort <<END
bin/tarnwick
bin/tarnwick-tocd
include/tarnwick-toc/QuonTOCSock.h
include/tarnwick-toc/TocSocket.h
lib/systemd/user/tarnwick.service
$libdir/cmake/TarnwickToc/TarnwickTocConfig.cmake
$libdir/cmake/TarnwickToc/TarnwickTocConfigVersion.cmake
$libdir/cmake/TarnwickToc/TarnwickTocTargets-BUILDTYPE.cmake
$libdir/cmake/TarnwickToc/TarnwickTocTargets.cmake
$libdir/libtarnwick-toc.a
$libdir/pkgconfig/tarnwick-toc.pc
share/applications/$app_id.desktop
$(tr ' ' '\n' <<<"$docs" | sed '/^$/d')
share/icons/hicolor/128x128/apps/$app_id.png
share/icons/hicolor/16x16/apps/$app_id.png
share/icons/hicolor/32x32/apps/$app_id.png
share/icons/hicolor/48x48/apps/$app_id.png
share/icons/hicolor/scalable/apps/$app_id.svg
share/man/man1/tarnwick-tocd.1.gz
share/man/man1/tarnwick.1.gz
share/metainfo/$app_id.metainfo.xml
END
)
    # The exported targets' per-configuration file is named after the build type, whichever it is.
    installed=$(cd "$root/usr" && find . -type f | sed 's|^\./||; s|TarnwickTocTargets-[a-z]*\.cmake$|TarnwickTocTargets-BUILDTYPE.cmake|' | sort)
    [ "$installed" = "$expected" ] || fail "installed files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$installed"))"
    # pkg-config answers with the scratch root's paths: the file finds its prefix itself.
    include=$(PKG_CONFIG_PATH="$root/usr/$libdir/pkgconfig" pkg-config --cflags-only-I tarnwick-toc | awk '{print $1}')
    [ "$(realpath -m "${include#-I}")" = "$root/usr/include/tarnwick-toc" ] \
        || fail "pkg-config does not point into the installed tree: $include"
    version_runs "$root/usr/bin/tarnwick" || fail "the installed tarnwick --version failed"
    ;;
desktop)
    root=$2
    need desktop-file-validate appstreamcli
    desktop-file-validate "$root/usr/share/applications/$app_id.desktop"
    appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null
    ;;
pages)
    root=$2
    need man
    # Each manual page renders and names every option its program's --help lists.
    for page in tarnwick tarnwick-tocd; do
        text=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null) || fail "$page.1 does not render"
        for option in $(env -u DISPLAY "$root/usr/bin/$page" --help | grep -o -- '--[a-z-]*' | sort -u); do
            grep -qF -- "$option" <<<"$text" || fail "$page.1 does not describe $option"
        done
    done
    ;;
unit)
    root=$2
    need systemd-analyze
    runtime=$(mktemp -d) # systemd-analyze --user wants a runtime folder
    trap 'rm -rf "$runtime"' EXIT
    export XDG_RUNTIME_DIR=$runtime
    unit=$root/usr/lib/systemd/user/tarnwick.service
    # A copy that starts the scratch root's program, which is the one that exists here; --man=no: the
    # man: link is not looked up on this machine.
    sed "s|^ExecStart=/usr/|ExecStart=$root/usr/|" "$unit" >"$runtime/tarnwick.service"
    # It only warns about unknown or malformed settings: any word from it fails.
    report=$(systemd-analyze verify --user --man=no "$runtime/tarnwick.service" 2>&1) || fail "systemd-analyze: $report"
    [ -z "$report" ] || fail "systemd-analyze: $report"
    grep -qx 'ExecStart=/usr/bin/tarnwick --no-window --password-file ${CREDENTIALS_DIRECTORY}/password' "$unit" \
        || fail "the unit does not start tarnwick --no-window with the credential"
    grep -qx 'RestartPreventExitStatus=1 2 3' "$unit" || fail "the unit restarts after the refusals"
    ;;
consumer)
    build=$2 root=$3 source=$4
    work=$(mktemp -d)
    trap 'kill "${tocd_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
    cmake -S "$source" -B "$work/build" -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
    cmake --build "$work/build" >/dev/null
    "$root/usr/bin/tarnwick-tocd" --listen 127.0.0.1:0 --account "Tarn Wick:secret" --quiet >"$work/tocd.out" &
    tocd_pid=$!
    for _ in $(seq 100); do grep -q '^listening on' "$work/tocd.out" && break; sleep 0.05; done
    port=$(sed -n 's/^listening on .*:\([0-9]*\)$/\1/p' "$work/tocd.out")
    [ -n "$port" ] || fail "tarnwick-tocd did not start"
    [ "$("$work/build/toc-consumer" 127.0.0.1 "$port" "Tarn Wick" secret)" = "signed on as Tarn Wick" ] \
        || fail "the consumer did not sign on"
    ;;
deb)
    build=$2 out=$3 source=$4 prefix=$5 version=$6
    need dpkg-deb dpkg-shlibdeps dpkg-architecture lintian
    rm -rf "$out" && mkdir -p "$out"
    if [ "$prefix" != /usr ]; then
        # GNUInstallDirs picks the multiarch library folder only for a tree configured for /usr.
        echo "The build is configured for $prefix: packaging from a tree configured for /usr in $out-tree"
        cmake -S "$source" -B "$out-tree" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DBUILD_TESTING=OFF -DTARNWICK_BENCH=OFF >/dev/null
        cmake --build "$out-tree" -j"$(nproc)" >/dev/null
        build=$out-tree
    fi
    (cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" >"$out/cpack.log" 2>&1) \
        || fail "cpack failed: $(tail -n 20 "$out/cpack.log")"
    arch=$(dpkg --print-architecture)
    multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
    # package: files it must hold, then the dependencies it must name
    check() {
        local package=$1 files=$2 depends=$3 deb contents f d
        deb=$out/${package}_${version}_$arch.deb
        [ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$out")"
        contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
        for f in $files ./usr/share/doc/$package/copyright ./usr/share/doc/$package/changelog.gz; do
            grep -qxF "$f" <<<"$contents" || fail "$f is not in $package"
        done
        for d in $depends; do
            grep -qw -- "$d" <<<"$(dpkg-deb --field "$deb" Depends)" || fail "$package does not depend on $d"
        done
    }
    check tarnwick "./usr/bin/tarnwick ./usr/share/applications/$app_id.desktop ./usr/share/metainfo/$app_id.metainfo.xml
        ./usr/share/icons/hicolor/scalable/apps/$app_id.svg ./usr/share/man/man1/tarnwick.1.gz
        ./usr/lib/systemd/user/tarnwick.service" "libqt6widgets6 libqt6network6 fonts-wine qt6-qpa-plugins libsecret-1-0"
    [ "$(dpkg-deb --field "$out/tarnwick_${version}_$arch.deb" Recommends)" = gnome-keyring ] \
        || fail "tarnwick does not recommend gnome-keyring"
    check tarnwick-tocd "./usr/bin/tarnwick-tocd ./usr/share/man/man1/tarnwick-tocd.1.gz" "libqt6network6"
    check libtarnwick-toc-dev "./usr/include/tarnwick-toc/QuonTOCSock.h ./usr/lib/$multiarch/libtarnwick-toc.a
        ./usr/lib/$multiarch/pkgconfig/tarnwick-toc.pc ./usr/lib/$multiarch/cmake/TarnwickToc/TarnwickTocConfig.cmake" \
        "qt6-base-dev"
    # Errors and warnings fail; information tags are allowed.
    lintian --fail-on error,warning "$out"/*.deb || fail "lintian found errors or warnings"
    dpkg-deb -x "$out/tarnwick_${version}_$arch.deb" "$out/extracted"
    version_runs "$out/extracted/usr/bin/tarnwick" || fail "the packaged tarnwick --version failed"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
