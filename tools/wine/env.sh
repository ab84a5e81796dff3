# Sourced: points Wine at the prefix and display kept in a state folder.
#   source tools/wine/env.sh STATE_DIR
wine_state=$(realpath -m "$1")
export WINEPREFIX="$wine_state/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [[ -f $wine_state/display ]]; then
  DISPLAY=$(<"$wine_state/display")
  export DISPLAY
fi
# Wine names host files through the locale's character set: under the C
# locale a file name outside ASCII (a folder named after an omega) cannot be
# made at all.
case ${LC_ALL:-${LC_CTYPE:-${LANG:-}}} in
  *UTF-8* | *utf8*) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
