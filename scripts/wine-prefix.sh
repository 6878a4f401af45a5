# Sourced by the scripts that run Windows builds under wine: sets up the wine environment of
# a build folder and makes its prefix on first use. Usage: wine_prefix BUILD_DIR
# The prefix is RELAYDESK_DESKTOP_WINEPREFIX, default BUILD_DIR/wineprefix-desktop: one of
# its own, since the tests' prefix (BUILD_DIR/wine-run) has its display driver switched off
# and the window needs one.
wine_prefix() {
    export WINEPREFIX=${RELAYDESK_DESKTOP_WINEPREFIX:-$(realpath "$1")/wineprefix-desktop}
    export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
    # No Mono or Gecko installer prompts: nothing here needs them.
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        echo "wine: making the prefix $WINEPREFIX"
        wineboot --init >/dev/null 2>&1
        wineserver --wait
    fi
    # The window's Japanese fonts, as a Japanese Windows has them, are IPA fonts here.
    local fonts=$WINEPREFIX/relaydesk-fonts.reg
    if [[ ! -f "$fonts" ]]; then
        printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
            '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
            '"ＭＳ Ｐゴシック"="IPAPGothic"' '"ＭＳ ゴシック"="IPAGothic"' \
            '"MS PGothic"="IPAPGothic"' '"MS Gothic"="IPAGothic"' '"MS UI Gothic"="IPAPGothic"' |
            iconv -f UTF-8 -t UTF-16 >"$fonts.new"
        wine regedit /S "$(winepath -w "$fonts.new")" >/dev/null 2>&1
        wineserver --wait
        mv "$fonts.new" "$fonts"
    fi
}
