# The wine prefixes that Windows builds run in, made in one place: sourced by the build's
# wine-run (ctest's emulator, from cmake/wine-run.sh.in) and by the scripts that run the
# window and the installer.
#
# wine_use_prefix PREFIX KIND   exports the wine environment of PREFIX and makes the prefix on
#                               first use (once, under a lock, as tests start in parallel).
#   KIND headless: wine's display driver is switched off, so that hidden windows work without
#                  an X server (the tests).
#   KIND desktop:  the display driver stays on, and the Japanese fonts of a Japanese Windows
#                  are there (the window, shown on a virtual X display and photographed).
# wine_prefix BUILD_DIR         the desktop prefix of a build: RELAYDESK_DESKTOP_WINEPREFIX,
#                               default BUILD_DIR/wineprefix-desktop.
# wine_program is the wine to run (default: wine on the PATH).

wine_use_prefix() {
    local prefix=$1 kind=$2
    local wine=${wine_program:-wine}
    export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
    [[ -f "$WINEPREFIX/.relaydesk-ready" ]] && return 0
    mkdir -p "$WINEPREFIX"
    (
        flock 9
        [[ -f "$WINEPREFIX/.relaydesk-ready" ]] && exit 0
        echo "wine: making the $kind prefix $WINEPREFIX" >&2
        # No Mono or Gecko installer prompts: nothing here needs them.
        WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init >/dev/null 2>&1
        case $kind in
        headless)
            "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
            ;;
        desktop)
            # The window's Japanese fonts, as a Japanese Windows has them, are IPA fonts here.
            local fonts=$WINEPREFIX/relaydesk-fonts.reg
            printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
                '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
                '"ＭＳ Ｐゴシック"="IPAPGothic"' '"ＭＳ ゴシック"="IPAGothic"' \
                '"MS PGothic"="IPAPGothic"' '"MS Gothic"="IPAGothic"' \
                '"MS UI Gothic"="IPAPGothic"' | iconv -f UTF-8 -t UTF-16 >"$fonts"
            "$wine" regedit /S "$(winepath -w "$fonts")" >/dev/null 2>&1
            ;;
        esac
        "${wine}server" --wait
        touch "$WINEPREFIX/.relaydesk-ready"
    ) 9>"$WINEPREFIX.lock"
}

wine_prefix() {
    wine_use_prefix "${RELAYDESK_DESKTOP_WINEPREFIX:-$(realpath "$1")/wineprefix-desktop}" desktop
}
