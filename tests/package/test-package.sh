#!/usr/bin/env bash
# Checks what a user installs: the desktop entry and metainfo validate, `cmake --install`
# lays out every file, the map file type is recognised as a desktop recognises it, the
# thumbnailer works as a file manager runs it, and the Debian package holds every file,
# depends on what the programs need, passes lintian, resolves with apt and starts.
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

expected=(bin/quintaraz-editor bin/quintaraz-map share/applications/org.quintaraz.Editor.desktop
    share/metainfo/org.quintaraz.Editor.metainfo.xml share/mime/packages/quintaraz-map.xml
    share/thumbnailers/quintaraz-map.thumbnailer share/man/man6/quintaraz-editor.6.gz
    share/man/man6/quintaraz-map.6.gz share/doc/quintaraz-editor/copyright
    share/doc/quintaraz-editor/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/org.quintaraz.Editor.png")
done

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in "${expected[@]}"; do
    [[ -f $prefix/$file ]] || fail "cmake --install did not install $file"
done
desktop=$prefix/share/applications/org.quintaraz.Editor.desktop
desktop-file-validate "$desktop" || fail "desktop entry"
grep -qx 'MimeType=application/x-quintaraz-map;' "$desktop" || fail "the desktop entry's MimeType"
grep -qx 'Exec=quintaraz-editor %f' "$desktop" || fail "the desktop entry's Exec"
appstreamcli validate --no-net "$prefix/share/metainfo/org.quintaraz.Editor.metainfo.xml" \
    >/dev/null || fail "metainfo"
grep -q '<mediatype>application/x-quintaraz-map</mediatype>' \
    "$prefix/share/metainfo/org.quintaraz.Editor.metainfo.xml" || fail "metainfo mediatype"

# A map, a damaged map, and a linker's map file, all named .map.
map=$work/valle.map
printf '16,16,%s<fin>2 3,15 3,8 8,0 12,4 16,9 16,12 16,16 16,' "$(printf '0,%.0s' {1..289})" >"$map"
printf '16,16,0,a,<fin>' >"$work/roto.map"
printf 'Archive member included to satisfy reference by file (symbol)\n\n%s\n' \
    'libc.a(printf.o)  main.o (printf)' >"$work/enlazador.map"

# The type, as a desktop without its own rules finds it (xdg-mime, File::MimeInfo).
update-mime-database "$prefix/share/mime" 2>/dev/null # it notes that the folder is not searched
mimetype_of() {
    env -u XDG_CURRENT_DESKTOP -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
        XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$prefix/share:/usr/share" \
        xdg-mime query filetype "$1"
}
[[ $(mimetype_of "$map") == application/x-quintaraz-map ]] ||
    fail "a map is $(mimetype_of "$map")"
[[ $(mimetype_of "$work/enlazador.map") == text/plain ]] ||
    fail "a linker map is $(mimetype_of "$work/enlazador.map")"

# The thumbnailer, run as a file manager runs it: its Exec line with %i %o %s filled in.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/thumbnailers/quintaraz-map.thumbnailer")
thumbnail() {
    local line=${exec_line//%i/$1}
    line=${line//%o/$2}
    line=${line//%s/$3}
    PATH=$prefix/bin:$PATH bash -c "$line"
}
thumbnail "$map" "$work/previa.png" 128 || fail "the thumbnailer failed on a map"
[[ $(file -b --mime-type "$work/previa.png") == image/png ]] || fail "the preview is no PNG"
read -r width height <<<"$(identify -format '%w %h' "$work/previa.png")"
((width <= 128 && height <= 128 && (width == 128 || height == 128))) ||
    fail "the preview is $width x $height, not at most 128"
for damaged in "$work/roto.map" "$work/enlazador.map"; do
    if thumbnail "$damaged" "$work/no.png" 128 2>/dev/null; then
        fail "the thumbnailer succeeded on $damaged"
    fi
    [[ ! -e $work/no.png ]] || fail "the thumbnailer wrote a preview of $damaged"
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
# No errors and no warnings; info tags may stay (see the CPack settings).
lintian_report=$(lintian --fail-on error,warning "$deb" 2>&1) || {
    echo "$lintian_report" >&2
    fail "lintian"
}

# apt resolves it as it would on a user's machine, without installing anything.
apt-get install -s "$deb" >/dev/null 2>&1 || fail "apt-get cannot install $deb"

# The packaged programs start: the editor keeps running until it is stopped.
dpkg-deb -x "$deb" "$work/root"
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$work/root/usr/bin/quintaraz-editor" 2>/dev/null || status=$?
[[ $status -eq 124 ]] || fail "the packaged editor ended with status $status"
"$work/root/usr/bin/quintaraz-map" check "$map" >/dev/null || fail "the packaged map tool"
echo "package $(basename "$deb"): $(wc -l <<<"$contents") entries; Depends: $depends"
