#!/bin/sh
# Makes the help page's pictures anew from the program's real windows.
# Run from the source folder after a build: sh tools/make-help-pictures.sh [BUILD]
set -eu
build=${1:-build}
"$build/tools/orb8ed-gallery" OnLineHelp/images
