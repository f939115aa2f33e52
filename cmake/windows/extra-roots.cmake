# Included after project() in the Windows cross build (CMAKE_PROJECT_INCLUDE): lets find_library
# and pkg-config's imported targets see the libraries scripts/build-windows cross-built and
# cached outside the MinGW and Qt roots (libxlsxwriter and zlib).
list(APPEND CMAKE_FIND_ROOT_PATH ${KOTOBAN_EXTRA_ROOTS})
