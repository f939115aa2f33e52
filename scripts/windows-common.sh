# Shared by scripts/build-windows and scripts/test: where the cached Qt for Windows lives.
# Sourced with $top set to the repository's root.
windows_cache="${KOTOBAN_WINDOWS_CACHE:-$HOME/.cache/kotoban-windows}"
qt_debian_version="$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo unknown)"
qt_options_hash="$(cat "$top/cmake/windows/qt-configure.txt" "$top/cmake/windows/mingw-toolchain.cmake" |
  sha256sum | cut -c1-12)"
qt_key="${qt_debian_version}-${qt_options_hash}"
qt_prefix="$windows_cache/qt-$qt_key"

# Wine, as the tests and the end-to-end check run the Windows build: a prefix of our own.
export WINEPREFIX="${KOTOBAN_WINEPREFIX:-$windows_cache/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko prompts; no menu builder, which would write desktop entries and icons of
# the programs installed in the prefix into the Unix home folder.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine64=/usr/lib/wine/wine64

# The MinGW runtime DLLs every program needs beside it.
mingw_runtime_dlls() {
  local dll
  for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    realpath "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)"
  done
}

# A Unix path as Wine's drive Z: names it.
windows_path() { local path; path="$(realpath -m "$1")"; echo "Z:${path//\//\\}"; }

# Creates the prefix once and keeps one wineserver running until stop_wine: a server that
# is shutting down while the next program starts makes CreateWindowEx fail.
start_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  # Wine links Documents and the like to the Unix home folder, where ~/Kotoban holds the
  # Linux program's data: the prefix gets folders of its own instead.
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/{Desktop,Documents,Downloads,Music,Pictures,Videos}; do
    if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
  done
  wineserver -p
  # Wine's own services start with the first program and keep its output open: start them
  # here, on /dev/null, or a test's output pipe never closes.
  wineboot -u </dev/null >/dev/null 2>&1 || true
}
stop_wine() { wineserver -k 2>/dev/null || true; }
