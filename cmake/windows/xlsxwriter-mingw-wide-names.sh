#!/bin/sh
# Makes libxlsxwriter open files by UTF-8 name on MinGW as it does with MSVC (converted to a
# wide name for _wfopen and minizip's iowin32), instead of through the ANSI code page, where
# a folder or file name in Japanese fails on any Windows whose code page cannot hold it.
#   xlsxwriter-mingw-wide-names.sh <copy of Debian's libxlsxwriter source>
set -eu
cd "$1"
for file in src/packager.c src/utility.c; do
  grep -q '^#ifdef __MINGW32__$' "$file"
  sed -i '/^#ifdef __MINGW32__$/,/^#endif$/d' "$file"
done
grep -q 'if(MSVC)' CMakeLists.txt
sed -i 's/^    if(MSVC)$/    if(WIN32)/' CMakeLists.txt  # only around iowin32.c
grep -q 'if(WIN32)' CMakeLists.txt
