#!/bin/sh
# Side by side: each WMF/EMF file drawn by the program's player (playmetafile) and by
# another renderer -- wmf2svg of Debian's libwmf-bin for WMF, emf2svg-conv of emf2svg for
# EMF (with its EMF+ records), rasterised by rsvg-convert -- with ImageMagick's montage of the pair and compare's
# count of differing pixels (fuzz 10 %) when the sizes agree. Those packages are for this
# by-hand check only; setup.sh does not install them.
#
# usage: tools/compare_metafiles.sh BUILD_DIR OUT_DIR FILE...
set -u
[ $# -ge 3 ] || { echo "usage: $0 BUILD_DIR OUT_DIR FILE..." >&2; exit 2; }
build=$1
out=$2
shift 2
mkdir -p "$out"
for file in "$@"; do
    name=$(basename "$file")
    ours="$out/$name.ours.png"
    theirs="$out/$name.other.png"
    QT_QPA_PLATFORM=offscreen "$build/bin/playmetafile" "$file" "$ours" 96 || continue
    size=$(identify -format '%wx%h' "$ours")
    case "$name" in
    *.wmf | *.WMF) wmf2svg -o "$out/$name.svg" "$file" 2>/dev/null ;;
    *) emf2svg-conv -p -i "$file" -o "$out/$name.svg" 2>/dev/null ;;
    esac
    if [ -s "$out/$name.svg" ] &&
        rsvg-convert -b white -w "${size%x*}" -h "${size#*x}" "$out/$name.svg" -o "$theirs"; then
        montage "$ours" "$theirs" -tile 2x1 -geometry +4+4 "$out/$name.side.png"
        diff=$(compare -metric AE -fuzz 10% "$ours" "$theirs" null: 2>&1)
        echo "$name $size differing pixels: $diff"
    else
        echo "$name $size other renderer drew nothing"
    fi
done
