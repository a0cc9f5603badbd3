#!/bin/sh
# Side by side: each WMF/EMF file drawn by the program's player (playmetafile) and by
# another renderer -- Inkscape's import for WMF (libwmf's wmf2svg fits the drawing's own
# bounds instead of the picture frame, fills at half opacity and rounds colours to named
# ones, so its pixels cannot be compared), emf2svg-conv of emf2svg for EMF (with its EMF+
# records) rasterised by rsvg-convert -- with ImageMagick's montage of the pair and the
# count of pixels differing by more than 64 in some channel. Those packages are for this
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
    rm -f "$theirs"
    QT_QPA_PLATFORM=offscreen "$build/bin/playmetafile" "$file" "$ours" 96 || continue
    size=$(identify -format '%wx%h' "$ours")
    case "$name" in
    *.wmf | *.WMF)
        inkscape --export-type=png --export-background=white --export-background-opacity=1 \
            --export-width="${size%x*}" --export-height="${size#*x}" \
            --export-filename="$theirs" "$file" >/dev/null 2>&1
        ;;
    *)
        emf2svg-conv -p -i "$file" -o "$out/$name.svg" 2>/dev/null &&
            rsvg-convert -b white -w "${size%x*}" -h "${size#*x}" "$out/$name.svg" -o "$theirs"
        ;;
    esac
    if [ -s "$theirs" ]; then
        montage "$ours" "$theirs" -tile 2x1 -geometry +4+4 "$out/$name.side.png"
        count='%[fx:round(mean*w*h)] (%[fx:100*mean] %%)'
        diff=$(convert "$ours" "$theirs" -alpha off -compose difference -composite -separate \
            -evaluate-sequence max -threshold 25.1% -format "$count" info:)
        echo "$name $size differing pixels: $diff"
    else
        echo "$name $size other renderer drew nothing"
    fi
done
