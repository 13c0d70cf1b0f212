#!/usr/bin/env bash
# make-images.sh: draws the help pages' GIF images with ImageMagick's
# convert, into the directory of this script. Everything is drawn from plain
# shapes (the banner also from one line of text), so the images can be
# remade at any time; run it after changing a drawing and commit the GIFs.
set -euo pipefail
cd "$(dirname "$0")"

teal='#008080'
dark='#005f5f'
face='#d4d0c8'

# The product's mark: a white V on a teal tile.
convert -size 48x48 xc:none -fill "$teal" -draw 'roundrectangle 0,0 47,47 8,8' \
  -fill white -draw 'polygon 9,10 18,10 24,30 30,10 39,10 28,39 20,39' \
  +antialias Logo.gif

# Page header: the mark, the title and a thin rule underneath.
convert -size 360x44 xc:"$teal" -fill "$dark" -draw 'rectangle 0,40 359,43' \
  -fill white -draw 'polygon 8,6 16,6 21,24 26,6 34,6 25,34 17,34' \
  -font Helvetica-Bold -pointsize 22 -fill white -annotate +46+29 'Veltrano 1.0' \
  +dither -colors 16 Banner.gif

# A sketch of the application window: caption bar, labels and values.
convert -size 160x100 xc:"$face" -stroke '#808080' -fill none -draw 'rectangle 0,0 159,99' \
  -stroke none -fill '#0a246a' -draw 'rectangle 1,1 158,14' \
  -fill white -draw 'rectangle 4,4 40,10' -fill "$face" -draw 'rectangle 146,4 154,11' \
  -fill '#404040' -draw 'rectangle 8,22 50,25' -draw 'rectangle 8,34 44,37' \
  -draw 'rectangle 8,46 40,49' -draw 'rectangle 8,58 56,61' -draw 'rectangle 8,70 52,73' \
  -draw 'rectangle 8,82 46,85' \
  -fill black -draw 'rectangle 62,22 150,25' -draw 'rectangle 62,34 110,37' \
  -draw 'rectangle 62,46 80,49' -draw 'rectangle 62,58 66,61' -draw 'rectangle 62,70 140,73' \
  -draw 'rectangle 62,82 152,85' \
  +antialias Window.gif

# A sketch of the settings file: a page with a folded corner and text lines.
convert -size 64x80 xc:none -fill white -stroke '#606060' \
  -draw 'polygon 4,2 46,2 60,16 60,77 4,77' -fill '#c0c0c0' -draw 'polygon 46,2 46,16 60,16' \
  -stroke none -fill "$teal" -draw 'rectangle 10,10 34,13' \
  -fill '#404040' -draw 'rectangle 10,22 52,24' -draw 'rectangle 10,30 46,32' \
  -draw 'rectangle 10,38 50,40' -fill "$teal" -draw 'rectangle 10,50 38,53' \
  -fill '#404040' -draw 'rectangle 10,62 52,64' -draw 'rectangle 10,70 42,72' \
  +antialias Settings.gif

# Navigation buttons: 24x24 teal disks with white symbols.
button() {  # button FILE DRAW: a teal disk with the white shape DRAW on it
  convert -size 24x24 xc:none -fill "$teal" -draw 'circle 11.5,11.5 11.5,0.5' \
    -fill white -draw "$2" +antialias "$1"
}
button Back.gif 'polygon 6,12 14,5 14,19'
button Next.gif 'polygon 18,12 10,5 10,19'
button Home.gif 'polygon 12,4 20,12 17,12 17,19 7,19 7,12 4,12'

# List bullet and section divider.
convert -size 9x9 xc:none -fill "$teal" -draw 'circle 4,4 4,0' +antialias Bullet.gif
convert -size 360x3 xc:"$teal" -fill "$dark" -draw 'rectangle 0,2 359,2' Divider.gif

# Margin marks of tips, warnings and notes.
convert -size 24x24 xc:none -fill '#f2c200' -stroke '#806600' -draw 'circle 11.5,9.5 11.5,2' \
  -stroke none -fill '#808080' -draw 'rectangle 9,17 14,21' \
  -fill white -draw 'rectangle 10,6 11,11' +antialias Tip.gif
convert -size 24x24 xc:none -fill '#ffcc00' -stroke black -draw 'polygon 12,1 23,22 1,22' \
  -stroke none -fill black -draw 'rectangle 11,7 12,15' -draw 'rectangle 11,18 12,19' \
  +antialias Warning.gif
convert -size 24x24 xc:none -fill '#1f5fbf' -draw 'circle 11.5,11.5 11.5,0.5' \
  -fill white -draw 'rectangle 10,5 13,7' -draw 'rectangle 10,10 13,19' \
  +antialias Note.gif
