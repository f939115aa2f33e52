# Shared by scripts/build-windows and scripts/test: where the cached Qt for Windows lives.
# Sourced with $top set to the repository's root.
windows_cache="${KOTOBAN_WINDOWS_CACHE:-$HOME/.cache/kotoban-windows}"
qt_debian_version="$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo unknown)"
qt_options_hash="$(cat "$top/cmake/windows/qt-configure.txt" "$top/cmake/windows/mingw-toolchain.cmake" |
  sha256sum | cut -c1-12)"
qt_key="${qt_debian_version}-${qt_options_hash}"
qt_prefix="$windows_cache/qt-$qt_key"
