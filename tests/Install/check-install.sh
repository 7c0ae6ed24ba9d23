#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what lands there: the application,
# its privileged tool and polkit action, the desktop entry, the icons and the AppStream
# metainfo; the desktop files pass their own validators where those are installed, and the
# installed application starts and ends cleanly on SIGTERM.
# Usage: check-install.sh BUILD_DIR CONFIGURED_PREFIX
set -uo pipefail
build=$1
configured_prefix=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

id=com.velquor.Sorvanta
for f in bin/sorvanta libexec/sorvanta/Tarvique; do
    [ -x "$prefix/$f" ] || fail "$f is not an installed executable"
done
[ -e "$prefix/bin/Tarvique" ] && fail "Tarvique is installed on the PATH"
for f in share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$id.svg \
    share/polkit-1/actions/com.velquor.sorvanta.tarvique.policy \
    share/doc/sorvanta/copyright share/doc/sorvanta/changelog.gz; do
    [ -s "$prefix/$f" ] || fail "$f is missing"
done
for size in 16 24 32 48 64 128 256 512; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    if [ ! -s "$png" ]; then
        fail "the ${size}x${size} icon is missing"
        continue
    fi
    # The PNG header's width and height (big-endian, bytes 16 to 23).
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dims"
done

# The polkit action names the tool where the configured prefix puts it.
grep -q "<annotate key=\"org.freedesktop.policykit.exec.path\">$configured_prefix/libexec/sorvanta/Tarvique</annotate>" \
    "$prefix/share/polkit-1/actions/com.velquor.sorvanta.tarvique.policy" ||
    fail "the polkit action does not name $configured_prefix/libexec/sorvanta/Tarvique"

desktop=$prefix/share/applications/$id.desktop
grep -qx 'Categories=Utility;FileTools;' "$desktop" || fail "desktop entry categories"
grep -qx 'StartupWMClass=Sorvanta' "$desktop" || fail "desktop entry window class"
grep -qx "Icon=$id" "$desktop" || fail "desktop entry icon"
if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate says: $out"
else
    echo "desktop-file-validate is not installed: skipped"
fi
if command -v appstreamcli >/dev/null; then
    out=$(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1) ||
        fail "appstreamcli validate: $out"
else
    echo "appstreamcli is not installed: skipped"
fi

# The installed application finds what it needs under the prefix and ends on SIGTERM with 0.
home=$prefix/home
mkdir -p "$home/config" "$home/data" "$home/cache" "$home/runtime"
chmod 700 "$home/runtime"
HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
    XDG_RUNTIME_DIR=$home/runtime QT_QPA_PLATFORM=offscreen \
    timeout --preserve-status -s TERM 3 "$prefix/bin/sorvanta" >/dev/null 2>&1
status=$?
[ "$status" -eq 0 ] || fail "the installed application ended with status $status on SIGTERM"

[ "$failures" -eq 0 ] && echo "install layout: all checks passed"
exit $((failures > 0))
