#!/usr/bin/env bash
# Checks what a user installs: the desktop entry and metainfo validate, `cmake --install`
# lays out every file, the map file type is recognised as a desktop recognises it, the
# thumbnailer works as a file manager runs it, and the Debian package, built with the
# README's own lines, holds every file, depends on what the programs need, passes lintian,
# resolves with apt and starts; its map tool and Tiled's extension find its tilesets.
#   test-package.sh SOURCE_FOLDER BUILD_FOLDER MIMETYPEOF [README_BUILD]
# README_BUILD "no" packages BUILD_FOLDER instead of building the package as the README does
# (for the sanitizers' build, where that Release build would only be done twice).
set -euo pipefail
source=$1
build=$2
mimetypeof=$3
readme_build=${4:-yes}
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
    share/doc/quintaraz-editor/changelog.gz share/quintaraz-editor/tiled/quintaraz.js
    share/quintaraz-editor/tiled/terrenos.tsx share/quintaraz-editor/tiled/jugadores.tsx
    share/quintaraz-editor/tiled/terrenos.png share/quintaraz-editor/tiled/jugadores.png)
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

# Maps of every size the editor makes, and files that are not maps, some named .map.
types=$work/tipos
mkdir -p "$types"
map_file() { # COLUMNS ROWS: a grass map with its starts on the first row
    printf '%d,%d,' $(($1 - 1)) $(($2 - 1))
    printf '0,%.0s' $(seq $(($1 * $2)))
    printf '<fin>0 0,1 0,2 0,3 0,4 0,5 0,6 0,7 0,'
}
declare -A wanted
# A map is a map by its content alone: with its extension and without one.
for size in "17 17" "17 46" "46 46" "100 100" "100 17" "17 100"; do
    name=$types/mapa-${size/ /x}
    map_file $size >"$name.map"
    cp "$name.map" "$name"
    wanted[$name.map]=application/x-quintaraz-map
    wanted[$name]=application/x-quintaraz-map
done
map=$types/mapa-17x17.map
printf 'Archive member included to satisfy reference by file (symbol)\n\n%s\n' \
    'libc.a(printf.o)  main.o (printf)' >"$types/enlazador.map"
printf '{"version":3,"sources":["x.js"],"names":[],"mappings":"AAAA"}\n' >"$types/x.js.map"
for name in datos.csv datos.txt; do
    for _ in $(seq 400); do printf '12,34,5,6,7,8,9,1,2,3\n'; done >"$types/$name"
done
: >"$types/vacio.map"
# Short texts of numbers that begin as a map does, named .map and named nothing.
printf '12,34,5,6,7,8,9,\n' >"$types/t.map"
printf '20,30,1,2,3,4,5,6' >"$types/tabla.map"
cp "$types/t.map" "$types/t"
cp "$types/tabla.map" "$types/tabla"
for name in enlazador.map x.js.map datos.csv datos.txt vacio.map t.map t tabla.map tabla; do
    wanted[$types/$name]=other
done
printf '16,16,0,a,<fin>' >"$types/roto.map"

# The type, as the desktop's readers find it: GIO (GNOME Files, Thunar, pcmanfm, gio open),
# xdg-mime (File::MimeInfo, on a desktop without rules of its own) and Qt's MIME database.
update-mime-database "$prefix/share/mime" 2>/dev/null # it notes that the folder is not searched
export XDG_DATA_HOME=$work/home XDG_DATA_DIRS=$prefix/share:/usr/share
unset XDG_CURRENT_DESKTOP KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
for file in "${!wanted[@]}"; do
    for client in gio xdg-mime qt; do
        case $client in
        gio) type=$(gio info -a standard::content-type "$file" | sed -n 's/.*content-type: //p') ;;
        xdg-mime) type=$(xdg-mime query filetype "$file") ;;
        qt) type=$("$mimetypeof" "$file") ;;
        esac
        if [[ ${wanted[$file]} == other ]]; then
            [[ $type != application/x-quintaraz-map ]] || fail "$client takes $file for a map"
        else
            [[ $type == "${wanted[$file]}" ]] || fail "$client: $file is $type"
        fi
    done
done

# The thumbnailer, run as a file manager runs it: its Exec line with %i %o %s filled in.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/thumbnailers/quintaraz-map.thumbnailer")
thumbnail() {
    local line=${exec_line//%i/$1}
    line=${line//%o/$2}
    line=${line//%s/$3}
    PATH=$prefix/bin:$PATH bash -c "$line"
}
# As tumbler (Thunar's previews) runs it: the output file made and held open first, and the
# picture read through what was held.
exec 3<>"$work/previa.png"
thumbnail "$types/mapa-100x17.map" "$work/previa.png" 128 || fail "the thumbnailer failed on a map"
read -r kind width height <<<"$(identify -format '%m %w %h' png:- <&3)"
exec 3<&-
[[ $kind == PNG && $width == 128 && $height -lt 128 ]] ||
    fail "the held preview is ${kind:-nothing} ${width:-} x ${height:-}, not a PNG 128 wide"
for damaged in "$types/roto.map" "$types/enlazador.map"; do
    if thumbnail "$damaged" "$work/no.png" 128 2>/dev/null; then
        fail "the thumbnailer succeeded on $damaged"
    fi
    [[ ! -e $work/no.png ]] || fail "the thumbnailer wrote a preview of $damaged"
done

# The installed tilesets, found from the program's own folder wherever it was installed:
# export refers to them, and writes nothing beside its output.
exports_with_installed_tilesets() { # BIN_FOLDER SHARE_FOLDER
    local out=$work/export-$RANDOM
    mkdir "$out"
    (cd "$out" && env -u QUINTARAZ_TILED_TILESETS "$1/quintaraz-map" export "$map" valle.tmx) ||
        fail "$1/quintaraz-map export"
    (cd "$out" && env -u QUINTARAZ_TILED_TILESETS "$1/quintaraz-map" new 60 40 nuevo.tmx) ||
        fail "$1/quintaraz-map new"
    [[ $(ls "$out") == $'nuevo.tmx\nvalle.tmx' ]] ||
        fail "export wrote beside its output: $(ls "$out")"
    local tilesets=$2/quintaraz-editor/tiled
    for tmx in valle nuevo; do
        sources=$(grep -o 'source="[^"]*"' "$out/$tmx.tmx" | tr '\n' ' ')
        [[ $sources == "source=\"$tilesets/terrenos.tsx\" source=\"$tilesets/jugadores.tsx\" " ]] ||
            fail "$1/quintaraz-map: $tmx.tmx refers to $sources"
    done
}
exports_with_installed_tilesets "$prefix/bin" "$prefix/share"

if [[ $readme_build == yes ]]; then
    # The package as the README builds it, its own lines run as written in a copy of the
    # source: the configure step's own prefix is baked into nothing.
    copy=$work/fuente
    mkdir "$copy"
    tar -C "$source" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$copy" -xf -
    lines=$(sed -n '/^\*\*From the Debian package\.\*\*/,/^\*\*From source/p' "$source/README.md" |
        sed -n '/^```sh$/,/^```$/p' | grep -v -e '^```' -e '^scripts/install-deps' -e '^sudo ')
    [[ $(wc -l <<<"$lines") -eq 2 ]] ||
        fail "the README's package lines are not the two expected: $lines"
    (cd "$copy" && bash -euo pipefail -c "$lines" >"$work/readme-build.log" 2>&1) || {
        tail -30 "$work/readme-build.log" >&2
        fail "the README's lines did not build the package"
    }
    apt_line=$(sed -n 's/^sudo apt-get install \(.*\)$/\1/p' "$source/README.md")
    deb=$copy/${apt_line#./}
    [[ -f $deb ]] || fail "the README installs $apt_line, which the build did not make"
else
    (cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack"
    deb=$(ls "$work"/package/*.deb)
fi
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
exports_with_installed_tilesets "$work/root/usr/bin" "$work/root/usr/share"

# Tiled's extension, enabled with the README's lines (the package's folder where it was
# unpacked), twice as after an upgrade: the second copy replaces the first, not inside it.
home=$work/usuario
enable=$(sed -n '/^\*\*Open and save `.map` files inside Tiled/,/^Tiled then/p' \
    "$source/README.md" | sed -n '/^```sh$/,/^```$/p' | grep -v '^```')
enable=${enable//\/usr\/share\/quintaraz-editor/$work/root/usr/share/quintaraz-editor}
installed_extension=$home/.config/tiled/extensions/quintaraz
for round in first upgrade; do
    HOME=$home bash -euo pipefail -c "$enable" || fail "the README's lines to enable the extension"
    [[ $round == first ]] && touch "$installed_extension/antigua.js"
done
[[ $(ls "$installed_extension") == $(ls "$work/root/usr/share/quintaraz-editor/tiled") ]] ||
    fail "the extension's folder after an upgrade holds: $(ls "$installed_extension")"

# A map opened in Tiled through the extension, with the package's programs, and saved as
# TMX: it refers to the package's tilesets, and nothing is written beside it.
tiled_folder=$work/tiled
mkdir "$tiled_folder"
cp "$map" "$tiled_folder/valle.map"
(cd "$tiled_folder" && HOME=$home XDG_CONFIG_HOME=$home/.config TMPDIR=$work \
    QT_QPA_PLATFORM=offscreen PATH=$work/root/usr/bin:$PATH \
    tiled --export-map valle.map valle.tmx 2>"$work/tiled.log") ||
    fail "Tiled did not open the map through the extension: $(cat "$work/tiled.log")"
[[ $(ls "$tiled_folder") == $'valle.map\nvalle.tmx' ]] ||
    fail "Tiled wrote beside the map: $(ls "$tiled_folder")"
for tileset in terrenos jugadores; do
    source_attribute=$(grep -o "source=\"[^\"]*$tileset.tsx\"" "$tiled_folder/valle.tmx") ||
        fail "the map saved by Tiled does not refer to $tileset.tsx"
    relative=${source_attribute#source=\"}
    packaged=$work/root/usr/share/quintaraz-editor/tiled/$tileset.tsx
    [[ $(realpath "$tiled_folder/${relative%\"}") == "$(realpath "$packaged")" ]] ||
        fail "the map saved by Tiled refers to $relative"
done
echo "package $(basename "$deb"): $(wc -l <<<"$contents") entries; Depends: $depends"
