#!/usr/bin/env bash
# Installs a qv-velano5 Debian package on this machine (as root) and checks it:
#  - the files it installs, in an installation folder that belongs to root (0755, files 0644);
#  - the program and the simulator start;
#  - two throw-away users, each with their own home folder and no XDG_* variables, choose their
#    language and port through the program's menus and each keep their own; neither can change
#    the other's settings or the installation folder; a simulator linked as a user's port 1
#    stays in that user's folder;
#  - installed over the previous package (built from commit b400287, whose installation folder
#    the group dialout could write) while a member of dialout keeps replacing pc.vdm and planting
#    links in that folder, the folder is root:root 0755 without set-group-ID again and holds only
#    the package's files, each root's with the package's content (dpkg --verify); links and files
#    planted there (names with spaces, line breaks, leading dashes) are gone, what a link pointed
#    to is untouched;
#  - installed afresh after the previous package was purged and left its folder behind (shared,
#    with planted files in it), racing the same member of dialout: the same holds;
#  - a file of the package replaced by another user's file or a link between unpacking and
#    configuring fails the configure with a message and is removed; installing again repairs it;
#  - the package depends on Qt's own Dutch and French translations;
#  - removing the package takes everything away again.
# Usage: scripts/test-package.sh <package.deb> [<previous package.deb>]
# Without the second argument the previous package is built from commit b400287 of this clone
# with that commit's own scripts/build-package.sh (a few minutes). Exits non-zero when a check
# fails.
set -uo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ] || [ ! -f "$1" ] || { [ $# -eq 2 ] && [ ! -f "$2" ]; }; then
  echo "usage: $0 <qv-velano5_*.deb> [<previous qv-velano5_*.deb>]" >&2
  exit 2
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "test-package: run as root (installs and removes the package, adds test users)" >&2
  exit 2
fi
absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
deb="$(absolute "$1")"
previous_deb=""
[ $# -eq 2 ] && previous_deb="$(absolute "$2")"
repo="$(cd "$(dirname "$0")/.." && pwd)"
previous_commit=b400287
home=/usr/share/qv-velano5
export DEBIAN_FRONTEND=noninteractive
unset QV_VELANO_HOME

failures=0
ok() { echo "ok   $*"; }
fail() { echo "FAIL $*" >&2; failures=$((failures + 1)); }
check() { # check <description> <command...>
  local what="$1"
  shift
  if "$@"; then ok "$what"; else fail "$what"; fi
}

suffix=$$
user_a="qvpkg-a$suffix"
user_b="qvpkg-b$suffix"
users=()
sim=""
racer=""
machine_ours=""
work="$(mktemp -d)"
chmod 755 "$work"
installed() { dpkg-query -W -f='${Status}' qv-velano5 2> /dev/null | grep -q "install ok installed"; }
remove_package() { # removes (and purges) whatever version is installed
  if installed; then
    apt-get remove -y qv-velano5 > "$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; return 1; }
  fi
  if dpkg-query -W -f='${Status}' qv-velano5 2> /dev/null | grep -q "config-files"; then
    dpkg --purge qv-velano5 > "$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; return 1; }
  fi
  return 0
}
stop_racer() { # the racer stops at its stop file (and is ended if it does not)
  [ -n "$racer" ] || return 0
  touch "$work/racer.stop"
  for _ in $(seq 100); do
    kill -0 "$racer" 2> /dev/null || break
    sleep 0.1
  done
  kill -TERM "$racer" 2> /dev/null
  wait "$racer" 2> /dev/null
  racer=""
}
cleanup() {
  if [ -n "$sim" ]; then kill -TERM "$sim" 2> /dev/null; wait "$sim" 2> /dev/null; fi
  stop_racer
  # The package and its folder are taken away only once the test has found neither there.
  if [ -n "$machine_ours" ]; then
    remove_package || echo "test-package: could not remove qv-velano5" >&2
    # A folder left behind holds what was planted in it (nothing follows the links in it).
    if [ -d "$home" ] && [ ! -L "$home" ]; then rm -rf "$home"; fi
  fi
  for u in "${users[@]}"; do
    # The runtime folder the program makes for a user without XDG_RUNTIME_DIR.
    runtime="/tmp/runtime-$u"
    if [ -d "$runtime" ] && [ ! -L "$runtime" ] && [ "$(stat -c %U "$runtime")" = "$u" ]; then
      rm -rf "$runtime"
    fi
    userdel "$u" > /dev/null 2>&1 || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

apt_install() {
  apt-get install -y "$@" > "$work/apt.log" 2>&1 && return 0
  # A fresh machine may not know the dependencies yet.
  apt-get update > /dev/null 2>&1 && apt-get install -y "$@" > "$work/apt.log" 2>&1
}

for tool in xvfb-run xauth xdotool; do
  if ! command -v "$tool" > /dev/null; then
    apt_install --no-install-recommends xvfb xauth xdotool || { cat "$work/apt.log" >&2; exit 1; }
  fi
done
if installed; then
  echo "test-package: qv-velano5 is installed already; remove it first" >&2
  exit 1
fi
if [ -e "$home" ] || [ -L "$home" ]; then
  echo "test-package: $home is left over from an earlier installation; remove it first" >&2
  exit 1
fi
for u in "$user_a" "$user_b"; do
  if getent passwd "$u" > /dev/null; then
    echo "test-package: user $u exists already" >&2
    exit 1
  fi
done

machine_ours=yes

# The previous package: the one whose installation folder the group dialout could write.
if [ -z "$previous_deb" ]; then
  echo "== building the previous package (commit $previous_commit)"
  if ! git -c safe.directory="$repo" -C "$repo" rev-parse -q --verify "$previous_commit^{commit}" > /dev/null 2>&1; then
    echo "test-package: commit $previous_commit, from which the previous package is built, is not in $repo" >&2
    echo "  (a shallow clone? run 'git fetch --unshallow'), or give the previous package as the second argument" >&2
    exit 1
  fi
  t0=$SECONDS
  mkdir -p "$work/previous/src"
  if ! git -c safe.directory="$repo" -C "$repo" archive "$previous_commit" | tar -x -C "$work/previous/src"; then
    echo "test-package: could not unpack commit $previous_commit" >&2
    exit 1
  fi
  if ! QV_PACKAGE_BUILD_DIR="$work/previous/build" bash "$work/previous/src/scripts/build-package.sh" > "$work/previous/build.log" 2>&1; then
    tail -n 40 "$work/previous/build.log" >&2
    echo "test-package: the previous package could not be built" >&2
    exit 1
  fi
  built=("$work"/previous/build/qv-velano5_*.deb)
  if [ ${#built[@]} -ne 1 ] || [ ! -f "${built[0]}" ]; then
    echo "test-package: the build of commit $previous_commit made no package" >&2
    exit 1
  fi
  previous_deb="$work/previous/$(basename "${built[0]}")"
  mv "${built[0]}" "$previous_deb"
  rm -rf "$work/previous/build" "$work/previous/src"
  echo "built $(basename "$previous_deb") in $((SECONDS - t0)) s"
fi

echo "== the package"
# Only preinst and postinst may change an owner or a mode (the installation folder, when it is
# not root's alone); no script keeps settings aside over an upgrade any more.
mkdir "$work/control"
dpkg-deb -e "$deb" "$work/control"
changers="$(cd "$work/control" && grep -lE '\b(chmod|chown|chgrp)\b' preinst postinst prerm postrm 2> /dev/null | tr '\n' ' ')"
check "only preinst and postinst change owners or modes (found: $changers)" test "$changers" = "preinst postinst "
check "no prerm; preinst and postrm keep nothing aside" sh -c "cd '$work/control' && [ ! -e prerm ] && ! cat preinst postrm 2> /dev/null | grep -q /var/lib"
depends="$(dpkg-deb -f "$deb" Depends)"
check "depends on qt6-translations-l10n (Depends: $depends)" sh -c "echo '$depends' | tr ',' '\n' | grep -qx ' *qt6-translations-l10n\( *(.*)\)\? *'"

echo "== installing $deb"
if ! apt_install "$deb"; then
  cat "$work/apt.log" >&2
  echo "test-package: apt-get install failed" >&2
  exit 1
fi
ok "apt-get install"

echo "== files"
libfolivo="$(dpkg -L qv-velano5 | grep '/libfolivo\.so\.1$' | head -n 1)"
libdir="$(dirname "${libfolivo:-/usr/lib/none/libfolivo.so.1}")"
check "programs in /usr/bin" test -x /usr/bin/qv-velano5 -a -x /usr/bin/qv-module-sim
check "libfolivo in $libdir" test -L "$libdir/libfolivo.so.1" -a -f "$libdir/libfolivo.so.1"
cached="$(ldconfig -p | sed -n 's/^\s*libfolivo\.so\.1 .*=> //p' | head -n 1)"
check "libfolivo known to the dynamic linker ($cached)" test -n "$cached" -a "$(readlink -f "$cached")" = "$(readlink -f "$libdir/libfolivo.so.1")"
check "folivo plugin" test -f "$libdir/qt6/plugins/folivo/libfolivoplugin.so"
for f in qv-velano5 qv-module-sim; do
  check "$f: every library found" sh -c "! ldd /usr/bin/$f | grep -q 'not found'"
done
folivo_used="$(ldd /usr/bin/qv-velano5 | sed -n 's/^\s*libfolivo\.so\.1 => \(\S*\) .*/\1/p')"
check "qv-velano5 uses the installed libfolivo ($folivo_used)" test -n "$folivo_used" -a "$(readlink -f "$folivo_used")" = "$(readlink -f "$libdir/libfolivo.so.1")"
check "plugin: every library found" sh -c "! ldd '$libdir/qt6/plugins/folivo/libfolivoplugin.so' | grep -q 'not found'"
# The default folder is compiled in as UTF-16 text; without the NUL bytes it reads as plain text.
check "program looks for $home/ by default" sh -c "tr -d '\\000' < /usr/bin/qv-velano5 | grep -aqF '$home/'"
for f in country.vdm port.vdm pc.vdm directory.vdm relais.bmp modulair.bmp dimmer.bmp velano.bmp; do
  check "$home/$f" test -s "$home/$f"
done
check "pc.vdm holds the shipped pause" sh -c "[ \"\$(tr -d '\r\n' < $home/pc.vdm)\" = 300 ]"
pdfs=$(find "$home" -maxdepth 1 -name '*.pdf' | wc -l)
check "24 documentation files (found $pdfs)" test "$pdfs" -eq 24
for model in ZK2412 ZK2018 ZK2019 ZK2425 ZK2436 ZK2447; do
  for lang in NL FR; do
    lower="$(echo "${model}_$lang" | tr '[:upper:]' '[:lower:]')"
    check "${model}_$lang.pdf and $lower.pdf" sh -c "head -c 5 '$home/${model}_$lang.pdf' | grep -q '%PDF-' && cmp -s '$home/${model}_$lang.pdf' '$home/$lower.pdf'"
  done
done
desktop=/usr/share/applications/qv-velano5.desktop
check "desktop entry" test -f "$desktop"
check "desktop entry starts qv-velano5" grep -qx 'Exec=qv-velano5' "$desktop"
png="/usr/share/icons/hicolor/64x64/apps/qv-velano5.png"
hexdump() { od -An -tx1 "$@" | tr -d ' \n'; }
check "desktop entry names the icon" grep -qx 'Icon=qv-velano5' "$desktop"
check "icon: 64 x 64 PNG" test "$(hexdump -N8 "$png" 2> /dev/null)" = 89504e470d0a1a0a -a "$(hexdump -j16 -N8 "$png" 2> /dev/null)" = 0000004000000040
if command -v desktop-file-validate > /dev/null; then
  check "desktop entry valid" desktop-file-validate "$desktop"
fi
man=/usr/share/man/man1/qv-module-sim.1.gz
check "manual page of qv-module-sim" sh -c "zcat '$man' | grep -q '^\.SH SYNOPSIS' && zcat '$man' | grep -q 'link'"
for lang in nl fr; do
  check "Qt's own translation qtbase_$lang installed" sh -c "dpkg -L qt6-translations-l10n | grep -q '/qtbase_$lang\.qm\$'"
done

# The installation folder holds what is shipped and belongs to root: nobody else can put a
# link or file there, or change one.
owner_mode() { stat -c '%U:%G %a' "$1"; }
only_root_files() { # only_root_files <folder>: regular files, root:root 0644, nothing else
  [ -z "$(find "$1" -mindepth 1 \( ! -type f -o ! -user root -o ! -group root -o ! -perm 0644 \) -print -quit)" ]
}
listed_entries() { dpkg-query -L qv-velano5 | grep "^$home/" | sort; }
present_entries() { find "$home" -mindepth 1 | sort; }
check "folder: root:root 755 (is: $(owner_mode "$home"))" test "$(owner_mode "$home")" = "root:root 755"
check "folder: files only, each root:root 0644" only_root_files "$home"
check "folder: only package files" test "$(present_entries)" = "$(listed_entries)"

echo "== qv-velano5 starts (no QV_VELANO_HOME)"
if env -u QV_VELANO_HOME xvfb-run -a sh -c '
    qv-velano5 & pid=$!
    sleep 5
    if kill -0 $pid 2> /dev/null; then kill $pid; wait $pid; exit 0; fi
    wait $pid; echo "qv-velano5 ended early with status $?" >&2; exit 1' > "$work/program.log" 2>&1; then
  ok "qv-velano5 still running after 5 s (root)"
else
  fail "qv-velano5 start (root)"
  cat "$work/program.log" >&2
fi

echo "== qv-module-sim"
check "qv-module-sim --help" sh -c "qv-module-sim --help | grep -q '^Usage: qv-module-sim'"

echo "== each user keeps their own settings"
check "group dialout exists" getent group dialout > /dev/null
# Both users are members of dialout (they need it for the serial ports): that gives no right
# in the installation folder. Their home folders can be read by others, as on many systems;
# the settings folder itself is the user's alone.
for u in "$user_a" "$user_b"; do
  useradd --create-home --home-dir "$work/home-$u" --shell /bin/sh -G dialout "$u" && users+=("$u")
  chmod 755 "$work/home-$u"
done
check "test users added" test ${#users[@]} -eq 2
as_user() { # as_user <user> <command...>: a clean environment with no XDG_* variables
  local u="$1"
  shift
  runuser -u "$u" -- env -i HOME="$work/home-$u" USER="$u" LOGNAME="$u" PATH=/usr/bin:/bin "$@"
}
settings_of() { echo "$work/home-$1/.config/qv-velano5"; }
bytes_of() { od -An -c "$1" 2> /dev/null | tr -s ' ' | sed 's/^ //;s/ $//'; }

# Drives the program through its menus with the keyboard: Settings > Com-port > <port>, then
# Taal/langue > Francais (2) or Nederlands (1), which restarts the program.
cat > "$work/choose.sh" << 'EOF'
port=$1
language=$2
window_of() { # window_of <pid or empty for any>
  for _ in $(seq 100); do
    if [ -n "$1" ]; then w=$(xdotool search --onlyvisible --pid "$1" --name '^QV Velano' 2> /dev/null | head -n 1)
    else w=$(xdotool search --onlyvisible --name '^QV Velano' 2> /dev/null | head -n 1); fi
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}
open_menu() { # open_menu <menus to the right of Bestand>
  xdotool key alt
  sleep 0.4
  i=0
  while [ $i -lt "$1" ]; do xdotool key Right; i=$((i + 1)); done
  xdotool key Down
  sleep 0.4
}
qv-velano5 & pid=$!
w=$(window_of $pid) || { echo "no window" >&2; kill $pid; exit 1; }
xdotool mousemove --window "$w" 200 300
xdotool windowfocus "$w" 2> /dev/null
sleep 1
open_menu 4 # Bewerken, Installatie and Taal/langue come before Settings
xdotool key Return
sleep 0.4
i=1
while [ $i -lt "$port" ]; do xdotool key Down; i=$((i + 1)); done
xdotool key Return
sleep 0.5
open_menu 3 # Taal/langue, after Bewerken and Installatie
[ "$language" = 1 ] && xdotool key Down
xdotool key Return
for _ in $(seq 100); do kill -0 $pid 2> /dev/null || break; sleep 0.1; done
if kill -0 $pid 2> /dev/null; then echo "the language switch did not restart the program" >&2; kill $pid; exit 1; fi
w=$(window_of "") || { echo "no window after the restart" >&2; exit 1; }
kill "$(xdotool getwindowpid "$w")"
EOF
# Each user's virtual display starts its search at a number of its own: a display the other user's
# server still holds while it shuts down is never raced for. A display that could not be reached
# at all (the machine's X start, not the program) is tried once more.
choose() { # choose <user> <port> <language> <first display number>
  local tries=0
  while :; do
    tries=$((tries + 1))
    if as_user "$1" xvfb-run -a -n "$4" sh "$work/choose.sh" "$2" "$3" > "$work/choose-$1.log" 2>&1; then
      ok "$1 chose port $2 and language $3 in the program"
      return
    fi
    if [ "$tries" -lt 2 ] && grep -q "could not connect to display" "$work/choose-$1.log"; then
      sleep 2
      continue
    fi
    fail "$1 chose port $2 and language $3 in the program"
    cat "$work/choose-$1.log" >&2
    return
  done
}
choose "$user_a" 3 2 140
choose "$user_b" 5 1 160
for u in "$user_a" "$user_b"; do
  check "$u: settings folder $(settings_of "$u") is $u's, 700 (is: $(stat -c '%U %a' "$(settings_of "$u")" 2> /dev/null))" \
    test "$(stat -c '%U %a' "$(settings_of "$u")" 2> /dev/null)" = "$u 700"
done
check "$user_a keeps port 3" test "$(bytes_of "$(settings_of "$user_a")/port.vdm")" = '3 \r \n'
check "$user_a keeps French" test "$(bytes_of "$(settings_of "$user_a")/country.vdm")" = '2 \r \n'
check "$user_b keeps port 5" test "$(bytes_of "$(settings_of "$user_b")/port.vdm")" = '5 \r \n'
check "$user_b keeps Dutch" test "$(bytes_of "$(settings_of "$user_b")/country.vdm")" = '1 \r \n'
check "shipped files unchanged (dpkg --verify)" test -z "$(dpkg --verify qv-velano5 2>&1)"

writes() { # writes <user> <file>: the user can replace or create that file
  as_user "$1" sh -c 'printf "7\r\n" > "$1"' write "$2" 2> /dev/null
}
links() { # links <user> <name>: the user can make a link of that name
  as_user "$1" ln -sf /dev/null "$2" 2> /dev/null
}
for pair in "$user_a $user_b" "$user_b $user_a"; do
  set -- $pair
  other="$(settings_of "$2")"
  if writes "$1" "$other/port.vdm"; then fail "$1 changed $2's port.vdm"; else ok "$1 cannot change $2's port.vdm"; fi
  if writes "$1" "$other/pc.vdm"; then fail "$1 added a pc.vdm for $2"; else ok "$1 cannot add settings for $2"; fi
  if links "$1" "$other/com1"; then fail "$1 linked $2's port 1"; else ok "$1 cannot link $2's port 1"; fi
  if as_user "$1" ls "$other" > /dev/null 2>&1; then fail "$1 can list $2's settings"; else ok "$1 cannot list $2's settings"; fi
  for f in port.vdm pc.vdm new.vdm; do
    if writes "$1" "$home/$f"; then fail "$1 wrote $home/$f"; else ok "$1 cannot write $home/$f"; fi
  done
  if links "$1" "$home/com1"; then fail "$1 linked $home/com1"; else ok "$1 cannot link $home/com1"; fi
  if as_user "$1" rm -f "$home/country.vdm" 2> /dev/null && [ ! -e "$home/country.vdm" ]; then
    fail "$1 removed $home/country.vdm"
  else
    ok "$1 cannot remove $home/country.vdm"
  fi
done
set --
check "$user_a still has port 3" test "$(bytes_of "$(settings_of "$user_a")/port.vdm")" = '3 \r \n'
check "$user_b still has port 5" test "$(bytes_of "$(settings_of "$user_b")/port.vdm")" = '5 \r \n'
check "installation folder unchanged" test -z "$(dpkg --verify qv-velano5 2>&1)" -a "$(present_entries)" = "$(listed_entries)"

# A user's serial port link lives in their own settings folder.
own_link="$(settings_of "$user_a")/com1"
as_user "$user_a" sh -c 'echo $$ > "$1/sim.pid"; exec qv-module-sim --fast --link "$2"' sim "$work/home-$user_a" "$own_link" \
  > "$work/sim.out" 2> "$work/sim.err" &
sim=$!
for _ in $(seq 50); do
  [ -s "$work/sim.out" ] && break
  sleep 0.1
done
check "simulator linked as $user_a's port 1" sh -c "grep -q '^PTY /dev/pts/' '$work/sim.out' && [ -L '$own_link' ]"
check "  not $user_b's, nor the installation folder's" test ! -e "$(settings_of "$user_b")/com1" -a ! -L "$home/com1"
# Signal the simulator itself; runuser hands its exit status on.
kill -TERM "$(cat "$work/home-$user_a/sim.pid" 2> /dev/null || echo "$sim")" 2> /dev/null
wait "$sim"
status=$?
sim=""
check "simulator ended on SIGTERM (status $status)" test "$status" -eq 0
check "  and took the link away" test ! -L "$own_link"

echo "== removing"
if remove_package; then ok "apt-get remove, dpkg --purge"; else fail "apt-get remove, dpkg --purge"; fi
check "programs gone" test ! -e /usr/bin/qv-velano5 -a ! -e /usr/bin/qv-module-sim
check "libfolivo gone" test ! -e "$libdir/libfolivo.so.1"
check "installation folder gone" test ! -e "$home"
check "dpkg no longer knows qv-velano5" sh -c "! dpkg-query -W -f='\${Status}' qv-velano5 2> /dev/null | grep -q installed"
check "users' settings kept" test -f "$(settings_of "$user_a")/port.vdm" -a -f "$(settings_of "$user_b")/port.vdm"

# A member of dialout (user_a) against the installation folder of the previous package, which
# that group could write: what any member could do there (change the shared settings, put a
# link where a settings file or a port was, leave files, folders and a FIFO behind, under names
# with spaces, line breaks and leading dashes), and a racer that keeps replacing pc.vdm with a
# file of its own and planting links while the package is installed.
victim="$work/victim.txt"
victim_dir="$work/victim-dir"
printf 'not to be touched\n' > "$victim"
mkdir -p "$victim_dir" && printf 'keep\n' > "$victim_dir/keep.txt"
touch -d '2001-02-03 04:05:06' "$victim"
victim_state() { echo "$(stat -c '%s %Y %a %U' "$victim") $(sha256sum < "$victim") $(ls -A "$victim_dir") $(cat "$victim_dir/keep.txt")"; }
victim_before="$(victim_state)"
cat > "$work/plant.sh" << 'EOF'
set -e
home=$1 victim=$2 victim_dir=$3
printf "6\r\n" > "$home/port.vdm.new" && mv -f "$home/port.vdm.new" "$home/port.vdm"
printf "/srv/klanten\r\n" > "$home/directory.vdm.new" && mv -f "$home/directory.vdm.new" "$home/directory.vdm"
rm -f "$home/country.vdm" && ln -s "$victim" "$home/country.vdm"
ln -s "$victim" "$home/com1"
ln -s "$victim_dir" "$home/com2"
printf "planted\n" > "$home/stray.txt"
printf "planted\n" > "$home/.hidden"
printf "planted\n" > "$home/-rf *"
printf "planted\n" > "$home/line
break.vdm"
ln -s "$victim" "$home/--no-dereference"
mkdir "$home/stray folder" && ln -s "$victim_dir" "$home/stray folder/inner" && ln -s "$victim" "$home/stray folder/to-victim"
mkfifo "$home/fifo.vdm"
EOF
cat > "$work/racer.sh" << 'EOF'
# Keeps replacing pc.vdm with a file of its own and planting links until the stop file appears;
# counts its tries and the replacements of pc.vdm that succeeded.
home=$1 victim=$2 stop=$3 tally=$4
tries=0
wins=0
while [ ! -e "$stop" ]; do
  tries=$((tries + 1))
  if { printf '100000\r\n' > "$home/.racer"; } 2> /dev/null && mv -f "$home/.racer" "$home/pc.vdm" 2> /dev/null; then
    wins=$((wins + 1))
  fi
  ln -sfn "$victim" "$home/.racer-link" 2> /dev/null && mv -fT "$home/.racer-link" "$home/directory.vdm" 2> /dev/null
  ln -s "$victim" "$home/com3" 2> /dev/null
  echo "$tries $wins" > "$tally"
done
EOF
plant() {
  if as_user "$user_a" sh "$work/plant.sh" "$home" "$victim" "$victim_dir"; then
    ok "  a member of dialout planted links and files in it"
  else
    fail "  a member of dialout planted links and files in it"
  fi
}
tally="$work/home-$user_a/racer.tally"
racer_seen=""
start_racer() { # returns once the racer has replaced pc.vdm
  rm -f "$work/racer.stop" "$tally"
  as_user "$user_a" sh "$work/racer.sh" "$home" "$victim" "$work/racer.stop" "$tally" > /dev/null 2>&1 &
  racer=$!
  for _ in $(seq 100); do
    racer_seen="$(cat "$tally" 2> /dev/null)"
    [ "${racer_seen#* }" -gt 0 ] 2> /dev/null && return 0
    sleep 0.1
  done
  return 1
}
install_racing() { # install_racing <what>: apt-get install of the package while the racer runs
  if start_racer; then
    ok "  the racer replaces pc.vdm (tries, replacements so far: $racer_seen)"
  else
    fail "  the racer replaces pc.vdm"
  fi
  if apt_install "$deb"; then
    ok "apt-get install $1"
  else
    cat "$work/apt.log" >&2
    fail "apt-get install $1"
  fi
  local running=no tries wins
  kill -0 "$racer" 2> /dev/null && running=yes
  stop_racer
  read -r tries wins < "$tally"
  check "  the racer was still at it when apt-get ended ($tries tries, pc.vdm replaced $wins times)" test "$running" = yes
}
folder_checks() { # the installation folder after an installation that a member of dialout raced
  check "folder: root:root 755, no set-group-ID (is: $(owner_mode "$home"))" test "$(owner_mode "$home")" = "root:root 755"
  check "folder: only package files" test "$(present_entries)" = "$(listed_entries)"
  if [ "$(present_entries)" != "$(listed_entries)" ]; then
    diff <(listed_entries) <(present_entries) >&2
  fi
  check "folder: files only, each root:root 0644" only_root_files "$home"
  if ! only_root_files "$home"; then
    find "$home" -mindepth 1 \( ! -type f -o ! -user root -o ! -group root -o ! -perm 0644 \) -printf '  %M %u:%g %p\n' >&2
  fi
  check "every file root's with the package's content (dpkg --verify: $(dpkg --verify qv-velano5 2>&1 | tr '\n' ' '))" \
    test -z "$(dpkg --verify qv-velano5 2>&1)"
  check "pc.vdm holds the shipped pause (is: $(stat -c %U "$home/pc.vdm" 2> /dev/null) $(tr -d '\r\n' < "$home/pc.vdm" 2> /dev/null))" \
    test "$(stat -c %U "$home/pc.vdm" 2> /dev/null) $(tr -d '\r\n' < "$home/pc.vdm" 2> /dev/null)" = "root 300"
  check "what the links pointed to is untouched" test "$(victim_state)" = "$victim_before"
}

echo "== installing over the previous package ($(basename "$previous_deb")), a member of dialout racing"
if ! apt_install "$previous_deb"; then
  cat "$work/apt.log" >&2
  fail "apt-get install of the previous package"
else
  ok "previous package installed"
  check "  its folder is the shared one: 2775 group dialout (is: $(stat -c '%a %G' "$home"))" test "$(stat -c '%a %G' "$home")" = "2775 dialout"
  plant
  install_racing "over the previous package"
  folder_checks
  check "nothing left in /var/lib/qv-velano5" test ! -e /var/lib/qv-velano5
  if remove_package; then ok "apt-get remove, dpkg --purge"; else fail "apt-get remove, dpkg --purge"; fi
  check "installation folder gone" test ! -e "$home"
fi

echo "== installing after the previous package was purged and left its folder behind, a member of dialout racing"
if ! apt_install "$previous_deb"; then
  cat "$work/apt.log" >&2
  fail "apt-get install of the previous package"
else
  ok "previous package installed"
  plant
  if remove_package; then ok "previous package removed and purged"; else fail "previous package removed and purged"; fi
  check "  its folder was left behind, shared, with planted files (is: $(stat -c '%a %G' "$home" 2> /dev/null))" \
    test "$(stat -c '%a %G' "$home" 2> /dev/null)" = "2775 dialout" -a -f "$home/stray.txt"
  install_racing "over the folder left behind"
  folder_checks
fi

echo "== a file of the package replaced between unpacking and configuring"
# What only another user's write right in the folder would allow; root plays that user here.
if dpkg --unpack "$deb" > "$work/dpkg.log" 2>&1; then
  ok "dpkg --unpack"
else
  cat "$work/dpkg.log" >&2
  fail "dpkg --unpack"
fi
printf '100000\r\n' > "$home/.foreign" && chown "$user_a" "$home/.foreign" && mv -f "$home/.foreign" "$home/pc.vdm"
ln -sfn "$victim" "$home/port.vdm"
rm -f "$home/velano.bmp" && mkdir "$home/velano.bmp" && ln -s "$victim_dir" "$home/velano.bmp/inner"
printf 'planted\n' > "$home/-- line
break" && ln -s "$victim" "$home/ link to victim"
if dpkg --configure qv-velano5 > "$work/dpkg.log" 2>&1; then
  fail "dpkg --configure fails"
else
  ok "dpkg --configure fails"
fi
check "  with a message naming the replaced files" sh -c "grep -q '$home/pc.vdm\$' '$work/dpkg.log' && grep -q '$home/port.vdm\$' '$work/dpkg.log' && grep -q '$home/velano.bmp\$' '$work/dpkg.log' && grep -q 'installing the package again' '$work/dpkg.log'"
check "  and none of them or the planted names left" sh -c "cd '$home' && [ ! -e pc.vdm ] && [ ! -L port.vdm ] && [ ! -e velano.bmp ] && [ ! -L ' link to victim' ] && [ -z \"\$(find . -name '--*')\" ]"
check "  what the links pointed to is untouched" test "$(victim_state)" = "$victim_before"
if dpkg -i "$deb" > "$work/dpkg.log" 2>&1; then
  ok "installed again (dpkg -i)"
else
  cat "$work/dpkg.log" >&2
  fail "installed again (dpkg -i)"
fi
check "  qv-velano5 installed and configured" installed
folder_checks
if remove_package; then ok "apt-get remove, dpkg --purge"; else fail "apt-get remove, dpkg --purge"; fi
check "installation folder gone" test ! -e "$home"

echo
if [ "$failures" -ne 0 ]; then
  echo "test-package: $failures check(s) failed" >&2
  exit 1
fi
echo "test-package: all checks passed"
