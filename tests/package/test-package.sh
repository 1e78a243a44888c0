#!/usr/bin/env bash
# Checks what a user installs: the desktop entry and metainfo validate, `cmake --install`
# lays out every file, and the Debian package holds them, depends on what the editor
# needs, resolves with apt and starts.
#   test-package.sh SOURCE_FOLDER BUILD_FOLDER
set -euo pipefail
source=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

desktop-file-validate "$source/data/org.quintaraz.Editor.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$source/data/org.quintaraz.Editor.metainfo.xml" >/dev/null ||
    fail "metainfo"

expected=(bin/quintaraz-editor share/applications/org.quintaraz.Editor.desktop
    share/metainfo/org.quintaraz.Editor.metainfo.xml)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/org.quintaraz.Editor.png")
done

cmake --install "$build" --prefix "$work/prefix" >/dev/null
for file in "${expected[@]}"; do
    [[ -f $work/prefix/$file ]] || fail "cmake --install did not install $file"
done

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack"
deb=$(ls "$work"/package/*.deb)
contents=$(dpkg-deb -c "$deb")
for file in "${expected[@]}"; do
    grep -q "\./usr/$file\$" <<<"$contents" || fail "the package lacks /usr/$file"
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6 qt6-qpa-plugins; do
    grep -q "\b$package\b" <<<"$depends" || fail "Depends lacks $package: $depends"
done
[[ $(dpkg-deb -f "$deb" Package) == quintaraz-editor ]] || fail "package name"
[[ $(dpkg-deb -f "$deb" Version) == 1.00 ]] || fail "package version"

# apt resolves it as it would on a user's machine, without installing anything.
apt-get install -s "$deb" >/dev/null 2>&1 || fail "apt-get cannot install $deb"

# The packaged binary starts and keeps running until it is stopped.
dpkg-deb -x "$deb" "$work/root"
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$work/root/usr/bin/quintaraz-editor" 2>/dev/null || status=$?
[[ $status -eq 124 ]] || fail "the packaged editor ended with status $status"
echo "package $(basename "$deb"): $(wc -l <<<"$contents") entries; Depends: $depends"
