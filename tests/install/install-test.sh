#!/usr/bin/env bash
# The install checks, one mode per ctest entry:
#   tree BUILD ROOT LIBDIR      cmake --install into ROOT with prefix /usr; what is there, and only that
#   consumer BUILD ROOT SOURCE  a project of someone else's builds against ROOT and signs on to tocd
#   deb BUILD OUT               cpack -G DEB; the package's files and dependencies, and its tarnwick runs
set -euo pipefail
mode=$1 build=$2
app_id=org.tarnwick.Tarnwick
fail() { echo "install-test: $*" >&2; exit 1; }
# Without a display, as a package's post-install check or a user over ssh would run it.
version_runs() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" --version | grep -q '^Tarnwick '; }

case $mode in
tree)
    root=$3 libdir=$4
    rm -rf "$root"
    DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
    expected=$(sort <<END
bin/tarnwick
bin/tarnwick-tocd
include/tarnwick-toc/QuonTOCSock.h
include/tarnwick-toc/TocSocket.h
$libdir/cmake/TarnwickToc/TarnwickTocConfig.cmake
$libdir/cmake/TarnwickToc/TarnwickTocConfigVersion.cmake
$libdir/cmake/TarnwickToc/TarnwickTocTargets-relwithdebinfo.cmake
$libdir/cmake/TarnwickToc/TarnwickTocTargets.cmake
$libdir/libtarnwick-toc.a
$libdir/pkgconfig/tarnwick-toc.pc
share/applications/$app_id.desktop
share/icons/hicolor/128x128/apps/$app_id.png
share/icons/hicolor/16x16/apps/$app_id.png
share/icons/hicolor/32x32/apps/$app_id.png
share/icons/hicolor/48x48/apps/$app_id.png
share/icons/hicolor/scalable/apps/$app_id.svg
share/man/man1/tarnwick-tocd.1
share/man/man1/tarnwick.1
share/metainfo/$app_id.metainfo.xml
END
)
    installed=$(cd "$root/usr" && find . -type f | sed 's|^\./||' | sort)
    [ "$installed" = "$expected" ] || fail "installed files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$installed"))"
    desktop-file-validate "$root/usr/share/applications/$app_id.desktop"
    appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null
    # Each manual page renders and names every option its program's --help lists.
    for page in tarnwick tarnwick-tocd; do
        text=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/$page.1" 2>/dev/null) || fail "$page.1 does not render"
        for option in $(env -u DISPLAY "$root/usr/bin/$page" --help | grep -o -- '--[a-z-]*' | sort -u); do
            grep -qF -- "$option" <<<"$text" || fail "$page.1 does not describe $option"
        done
    done
    # pkg-config answers with the scratch root's paths: the file finds its prefix itself.
    include=$(PKG_CONFIG_PATH="$root/usr/$libdir/pkgconfig" pkg-config --cflags-only-I tarnwick-toc | awk '{print $1}')
    [ "$(realpath -m "${include#-I}")" = "$root/usr/include/tarnwick-toc" ] \
        || fail "pkg-config does not point into the installed tree: $include"
    version_runs "$root/usr/bin/tarnwick" || fail "the installed tarnwick --version failed"
    ;;
consumer)
    root=$3 source=$4
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
    out=$3
    rm -rf "$out" && mkdir -p "$out"
    (cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null)
    deb=$(ls "$out"/tarnwick_*.deb)
    contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
    for f in ./usr/bin/tarnwick ./usr/bin/tarnwick-tocd "./usr/share/applications/$app_id.desktop" \
             "./usr/share/metainfo/$app_id.metainfo.xml" "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
             ./usr/share/man/man1/tarnwick.1 ./usr/include/tarnwick-toc/QuonTOCSock.h; do
        grep -qxF "$f" <<<"$contents" || fail "$f is not in the package"
    done
    depends=$(dpkg-deb --field "$deb" Depends)
    for d in libqt6widgets6 libqt6network6 fonts-wine qt6-qpa-plugins; do
        grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
    done
    dpkg-deb -x "$deb" "$out/extracted"
    version_runs "$out/extracted/usr/bin/tarnwick" || fail "the packaged tarnwick --version failed"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
