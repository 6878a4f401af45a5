# The folder of the Windows dependencies (libvips/, wxmsw/): RELAYDESK_WIN64_DEPS, by default
# ${RELAYDESK_CACHE_DIR:-$HOME/.cache/relaydesk}/win64, outside the checkout. The one place of
# that default: sourced by the scripts that fill the folder, asked by cmake/mingw-w64.cmake.
export RELAYDESK_WIN64_DEPS=${RELAYDESK_WIN64_DEPS:-${RELAYDESK_CACHE_DIR:-$HOME/.cache/relaydesk}/win64}
