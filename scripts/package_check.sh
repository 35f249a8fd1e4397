#!/usr/bin/env bash
# Builds the Debian package in the Release build (only what the package
# holds), checks its files, its dependencies, its AppStream metadata, desktop
# entry, man page and completion, and, when run as root, installs it, runs the
# installed programs as a new user would and removes it again. Run it as
# often as you like: the build is reused, and a package it installed is
# removed however the check ends. A yubin package installed before is left
# alone (and the install step skipped).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/release"
fail() {
  echo "package check: $*" >&2
  exit 1
}

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DYUBIN_TESTS=OFF >/dev/null
cmake --build "$build" --target yubin yubin-cli yubin-desktop-files
version=$(sed -n 's/^project(yubin VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
deb="$build/yubin_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
(cd "$build" && cpack -G DEB >/dev/null)
[[ -f $deb ]] || fail "cpack made no $deb"
echo "package check: built $(basename "$deb")"

# The files, where a Debian user looks for them.
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
expected=(
  ./usr/bin/yubin ./usr/bin/yubin-cli ./usr/libexec/yubin/yubin-cli-full
  ./usr/share/applications/yubin.desktop
  ./usr/share/metainfo/jp.zunelka.yubin.metainfo.xml
  ./usr/share/man/man1/yubin-cli.1.gz ./usr/share/man/ja/man1/yubin-cli.1.gz
  ./usr/share/bash-completion/completions/yubin-cli
  ./usr/share/icons/hicolor/scalable/apps/yubin.svg
  ./usr/share/yubin/data/ken_all.zip ./usr/share/yubin/data/jigyosyo.zip
  ./usr/share/doc/yubin/copyright
)
for size in 16 32 48 64 128 256; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/yubin.png")
done
for file in "${expected[@]}"; do
  grep -qxF "$file" <<<"$contents" || fail "$file is not in the package"
done

# Found from the binaries, and named because the binaries cannot show them.
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6printsupport6 libqt6svg6 libarchive13 qt6-translations-l10n \
  fonts-ipafont-gothic; do
  grep -qw -- "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

tmp=$(mktemp -d)
installed_here=0
cleanup() {
  if ((installed_here)); then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq yubin >/dev/null || dpkg -r yubin >/dev/null
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

dpkg-deb -x "$deb" "$tmp/root"
appstreamcli validate --no-net "$tmp/root/usr/share/metainfo/jp.zunelka.yubin.metainfo.xml" >/dev/null ||
  fail "appstreamcli rejects the metainfo"
desktop-file-validate "$tmp/root/usr/share/applications/yubin.desktop" || fail "invalid desktop entry"
grep -q '<project_license>MIT</project_license>' "$tmp/root/usr/share/metainfo/jp.zunelka.yubin.metainfo.xml" ||
  fail "the metainfo names no MIT project licence"
copyright="$tmp/root/usr/share/doc/yubin/copyright"
head -n 1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not in the machine-readable format"
grep -q '^License: MIT$' "$copyright" || fail "the copyright file names no MIT licence"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
grep -qv -e localhost -e example <<<"$maintainer" || fail "placeholder maintainer: $maintainer"
# Japanese runs on without blanks, where groff finds no place to break a
# line; the Japanese edition is checked for everything else.
for page in man1 ja/man1; do
  quiet=()
  [[ $page == ja/* ]] && quiet=(-Wbreak)
  man_warnings=$(zcat "$tmp/root/usr/share/man/$page/yubin-cli.1.gz" |
    groff -k -man -Tutf8 -ww "${quiet[@]}" -z 2>&1)
  [[ -z $man_warnings ]] || fail "the man page ($page): $man_warnings"
done
bash -n "$tmp/root/usr/share/bash-completion/completions/yubin-cli" || fail "the completion"
# shellcheck disable=SC1091
completed=$(
  source "$tmp/root/usr/share/bash-completion/completions/yubin-cli"
  COMP_WORDS=(yubin-cli towns 01 x --fo)
  COMP_CWORD=4
  _yubin_cli
  echo "${COMPREPLY[*]}"
)
[[ $completed == "--format" ]] || fail "completing 'towns --fo' gave '$completed'"

if [[ $(id -u) -ne 0 ]]; then
  echo "package check: not root, so the package is not installed"
  exit 0
fi
if dpkg-query -W -f='${Status}' yubin 2>/dev/null | grep -q "install ok installed"; then
  echo "package check: a yubin package is installed already; its install is not tried"
  exit 0
fi
installed_here=1
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
[[ $(/usr/bin/yubin-cli --version) == "yubin-cli $version" ]] || fail "yubin-cli --version"
prefectures=$(/usr/bin/yubin-cli prefectures)
[[ $(wc -l <<<"$prefectures") -eq 47 && $(head -n 1 <<<"$prefectures") == "01 北海道" ]] ||
  fail "yubin-cli prefectures"

# A new user's first start fills the per-user data folder from the bundled
# archives; the desktop program then runs (offscreen) until it is stopped.
user=(env -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XDG_CONFIG_HOME -u XDG_RUNTIME_DIR
  HOME="$tmp/home" QT_QPA_PLATFORM=offscreen)
mkdir -p "$tmp/home"
status=0
"${user[@]}" timeout 10 /usr/bin/yubin >/dev/null 2>&1 || status=$?
((status == 124)) || fail "yubin ended with $status instead of running"
[[ $("${user[@]}" /usr/bin/yubin-cli data-folder) == "$tmp/home/.local/share/Zunelka/yubin/DATA/" ]] ||
  fail "the installed program's data folder"
[[ $("${user[@]}" /usr/bin/yubin-cli code 1000001 2>/dev/null) == "[A] 100-0001 東京都千代田区千代田 (ﾄｳｷﾖｳﾄﾁﾖﾀﾞｸﾁﾖﾀﾞ)" ]] ||
  fail "the bundled data was not prepared on the first start"

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq yubin >/dev/null
installed_here=0
! dpkg-query -W -f='${Status}' yubin 2>/dev/null | grep -q "install ok installed" ||
  fail "yubin is still installed"
echo "package check: installed, ran and removed $(basename "$deb")"
