# shellcheck shell=bash
# Sourced by the screenshot scripts: cuts a window from the screen of a Wine prefix's desktop.
#
#   cut_window PREFIX "LEFT TOP WIDTH HEIGHT" OUT.png
#
# The rectangle is the window's on the screen, in pixels, as the test programs print it. The
# picture is taken from DISPLAY, or from the prefix's private X screen when there is no DISPLAY
# or TARVELLO_PRIVATE_X is set.
cut_window() {
    local prefix="$1" rect="$2" out="$3" left top width height display
    read -r left top width height <<<"$rect"
    # The Wine desktop reaches the X screen a moment after the window has drawn itself.
    sleep 1
    display="${DISPLAY:-}"
    if [ -z "$display" ] || [ -n "${TARVELLO_PRIVATE_X:-}" ]; then
        display="$(cat "$prefix.state/display")"
    fi
    import -display "$display" -window root -crop "${width}x${height}+${left}+${top}" +repage "$out"
}
