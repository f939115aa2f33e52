#!/bin/sh
# Installs the build into a scratch root and checks what a desktop and a teacher will see:
# every file in its freedesktop place, the desktop entry and the AppStream file accepted by
# their validators, and the installed wrapper seeding ~/Kotoban from the starter library
# without touching a file that is already there.
#   check-install.sh <build dir> <source dir>
# Exits 77 (skipped) when the validators are not installed.
set -eu
build="$1"
source="$2"
id=jp.example.Kotoban

for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed (packages desktop-file-utils, appstream)"
    exit 77
  fi
done

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
root="$scratch/root"
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$root" cmake --install "$build" --prefix /usr >"$scratch/install.log" ||
  { cat "$scratch/install.log"; fail "cmake --install"; }

usr="$root/usr"
for file in bin/kotoban libexec/kotoban/kotoban libexec/kotoban/kotoban-launcher; do
  [ -x "$usr/$file" ] || fail "$file is missing or not executable"
done
for n in 1 2 3; do
  cmp -s "$source/data/Kotoban$n.txt" "$usr/share/kotoban/data/Kotoban$n.txt" ||
    fail "starter file Kotoban$n.txt is not installed unchanged"
done
cmp -s "$source/data/表記ルール.txt" "$usr/share/kotoban/data/表記ルール.txt" ||
  fail "starter wording rules are not installed unchanged"
[ -f "$usr/share/applications/$id.desktop" ] || fail "desktop entry missing"
[ -f "$usr/share/metainfo/$id.metainfo.xml" ] || fail "metainfo missing"
[ -f "$usr/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "scalable icon missing"
for size in 16 22 24 32 48 64 128 256; do
  icon="$usr/share/icons/hicolor/${size}x$size/apps/$id.png"
  [ -f "$icon" ] || fail "icon ${size}x$size missing"
  # The PNG header holds width and height as big-endian numbers at bytes 16 and 20.
  dims="$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')"
  [ "$dims" = "${size}x$size" ] || fail "icon in ${size}x$size is $dims"
done
grep -qx "Icon=$id" "$usr/share/applications/$id.desktop" || fail "desktop entry names another icon"
grep -qx "Exec=kotoban" "$usr/share/applications/$id.desktop" || fail "desktop entry runs another command"

desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
# validate-tree also checks that the metainfo file's launchable is the installed desktop entry.
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"

# The launcher, through the installed wrapper, with a stand-in program that reports where
# it runs. The home folder has a blank in its name, as some do.
cat >"$usr/libexec/kotoban/kotoban" <<'PROGRAM'
#!/bin/sh
pwd
PROGRAM
chmod +x "$usr/libexec/kotoban/kotoban"

home="$scratch/home of teacher"
mkdir -p "$home"
ran="$(HOME="$home" "$usr/bin/kotoban")" || fail "wrapper failed on a fresh home"
[ "$ran" = "$home/Kotoban" ] || fail "program ran in '$ran', not in ~/Kotoban"
for n in 1 2 3; do
  cmp -s "$source/data/Kotoban$n.txt" "$home/Kotoban/Kotoban$n.txt" || fail "Kotoban$n.txt not seeded"
done
cmp -s "$source/data/表記ルール.txt" "$home/Kotoban/表記ルール.txt" || fail "表記ルール.txt not seeded"

# A teacher's own files stay; only the missing one comes back from the starter library.
printf '"my own title"\r\n' >"$home/Kotoban/Kotoban1.txt"
printf '"second"\r\n' >"$home/Kotoban/Kotoban2.txt"
rm "$home/Kotoban/Kotoban3.txt"
printf '友達\t友だち\n' >"$home/Kotoban/表記ルール.txt"
HOME="$home" "$usr/bin/kotoban" >/dev/null || fail "wrapper failed on a used home"
[ "$(cat "$home/Kotoban/表記ルール.txt")" = "$(printf '友達\t友だち')" ] || fail "表記ルール.txt was overwritten"
[ "$(cat "$home/Kotoban/Kotoban1.txt")" = "$(printf '"my own title"\r')" ] || fail "Kotoban1.txt was overwritten"
[ "$(cat "$home/Kotoban/Kotoban2.txt")" = "$(printf '"second"\r')" ] || fail "Kotoban2.txt was overwritten"
cmp -s "$source/data/Kotoban3.txt" "$home/Kotoban/Kotoban3.txt" || fail "missing Kotoban3.txt not seeded again"

# KOTOBAN_HOME chooses another folder, created with its parents.
other="$scratch/elsewhere/kotoban data"
ran="$(HOME="$home" KOTOBAN_HOME="$other" "$usr/bin/kotoban")" || fail "wrapper failed with KOTOBAN_HOME"
[ "$ran" = "$other" ] || fail "KOTOBAN_HOME ignored: ran in '$ran'"
[ -f "$other/Kotoban2.txt" ] || fail "KOTOBAN_HOME not seeded"

echo "install tree, validators and launcher: ok"
