#!/usr/bin/env bash
# Installs a qv-velano5 Debian package on this machine (as root), checks what it installed, starts
# the program and the simulator, checks that the members of the group dialout (and only they) can
# change the settings, keeps them over a reinstall, and removes the package again.
# Usage: scripts/test-package.sh <package.deb>. Exits non-zero when a check fails.
set -uo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 <qv-velano5_*.deb>" >&2
  exit 2
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "test-package: run as root (installs and removes the package, adds test users)" >&2
  exit 2
fi
deb="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
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

# Throw-away users: two members of dialout and one outsider.
suffix=$$
member_a="qvpkg-a$suffix"
member_b="qvpkg-b$suffix"
outsider="qvpkg-c$suffix"
users=()
work="$(mktemp -d)"
chmod 755 "$work"
cleanup() {
  if [ -n "${sim:-}" ]; then kill -TERM "$sim" 2> /dev/null; wait "$sim" 2> /dev/null; fi
  if dpkg-query -W -f='${Status}' qv-velano5 2>/dev/null | grep -q "install ok installed"; then
    apt-get remove -y qv-velano5 > /dev/null 2>&1 || echo "test-package: could not remove qv-velano5" >&2
  fi
  dpkg-query -W -f='${Status}' qv-velano5 2> /dev/null | grep -q "config-files" && dpkg --purge qv-velano5 > /dev/null 2>&1
  for u in "${users[@]}"; do
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

for tool in xvfb-run xauth; do
  if ! command -v "$tool" > /dev/null; then
    apt_install --no-install-recommends xvfb xauth || { cat "$work/apt.log" >&2; exit 1; }
  fi
done

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

echo "== qv-velano5 starts (no QV_VELANO_HOME)"
start_program() { # start_program <user or empty>: runs the program 5 s under a virtual display
  local run=(env -u QV_VELANO_HOME)
  if [ -n "$1" ]; then
    install -d -m 700 -o "$1" "$work/runtime-$1"
    run=(runuser -u "$1" -- env -u QV_VELANO_HOME HOME="$work" XDG_RUNTIME_DIR="$work/runtime-$1")
  fi
  "${run[@]}" xvfb-run -a sh -c '
    qv-velano5 & pid=$!
    sleep 5
    if kill -0 $pid 2> /dev/null; then kill $pid; wait $pid; exit 0; fi
    wait $pid; echo "qv-velano5 ended early with status $?" >&2; exit 1' > "$work/program.log" 2>&1
}
if start_program ""; then ok "qv-velano5 still running after 5 s (root)"; else fail "qv-velano5 start (root)"; cat "$work/program.log" >&2; fi

echo "== qv-module-sim"
check "qv-module-sim --help" sh -c "qv-module-sim --help | grep -q '^Usage: qv-module-sim'"

echo "== settings writable by the group dialout"
check "group dialout exists" getent group dialout > /dev/null
mode_of() { stat -c '%a %G' "$1"; }
check "folder: 2775 group dialout (is: $(mode_of "$home"))" test "$(mode_of "$home")" = "2775 dialout"
for f in country.vdm port.vdm directory.vdm; do
  check "$f: 664 group dialout (is: $(mode_of "$home/$f"))" test "$(mode_of "$home/$f")" = "664 dialout"
done
for u in "$member_a" "$member_b" "$outsider"; do
  if getent passwd "$u" > /dev/null; then
    echo "test-package: user $u exists already" >&2
    exit 1
  fi
done
useradd --system --no-create-home --shell /usr/sbin/nologin -G dialout "$member_a" && users+=("$member_a")
useradd --system --no-create-home --shell /usr/sbin/nologin -G dialout "$member_b" && users+=("$member_b")
useradd --system --no-create-home --shell /usr/sbin/nologin "$outsider" && users+=("$outsider")
check "test users added" test ${#users[@]} -eq 3

# Writes a settings file the way the program does: a temporary file in the folder, given the
# permissions of the file it replaces, renamed over it.
save_as() { # save_as <user> <file> <content>
  runuser -u "$1" -- sh -c '
    set -e
    target="$1/$2"
    tmp=$(mktemp "$target.XXXXXX")
    printf "%s\r\n" "$3" > "$tmp"
    chmod --reference="$target" "$tmp"
    mv -f "$tmp" "$target"' save "$home" "$2" "$3" 2> /dev/null
}
content_of() { tr -d '\r\n' < "$home/$1"; }

check "a member of dialout changes port.vdm" save_as "$member_a" port.vdm 5
check "  new content" test "$(content_of port.vdm)" = 5
check "  stays 664 group dialout (is: $(mode_of "$home/port.vdm"))" test "$(mode_of "$home/port.vdm")" = "664 dialout"
check "another member changes it after the first" save_as "$member_b" port.vdm 6
check "  new content" test "$(content_of port.vdm)" = 6
check "a member of dialout changes country.vdm" save_as "$member_a" country.vdm " 2 "
check "a member of dialout changes directory.vdm" save_as "$member_b" directory.vdm /srv/klanten
if save_as "$outsider" port.vdm 7; then fail "a user outside dialout changed port.vdm"; else ok "a user outside dialout cannot change port.vdm"; fi
check "  port.vdm unchanged" test "$(content_of port.vdm)" = 6
check "no temporary files left" test "$(find "$home" -maxdepth 1 -name '*.vdm.*' | wc -l)" -eq 0

if start_program "$member_a"; then ok "qv-velano5 still running after 5 s (member of dialout)"; else fail "qv-velano5 start (member of dialout)"; cat "$work/program.log" >&2; fi

# A member of dialout may link a serial port into the folder (port 1 -> <folder>/com1).
own="$work/$member_a"
install -d -m 700 -o "$member_a" "$own"
runuser -u "$member_a" -- sh -c 'echo $$ > "$1/sim.pid"; exec qv-module-sim --fast --link "$2/com1"' sim "$own" "$home" \
  > "$work/sim.out" 2> "$work/sim.err" &
sim=$!
for _ in $(seq 50); do
  [ -s "$work/sim.out" ] && break
  sleep 0.1
done
check "simulator linked as $home/com1 by a member of dialout" sh -c "grep -q '^PTY /dev/pts/' '$work/sim.out' && [ -L '$home/com1' ]"
# Signal the simulator itself; runuser hands its exit status on.
kill -TERM "$(cat "$own/sim.pid" 2> /dev/null || echo "$sim")" 2> /dev/null
wait "$sim"
status=$?
sim=""
check "simulator ended on SIGTERM (status $status)" test "$status" -eq 0
check "  and took the link away" test ! -L "$home/com1"

echo "== settings kept over a reinstall"
if apt-get install -y --reinstall "$deb" > "$work/apt.log" 2>&1; then
  ok "apt-get install --reinstall"
  check "port.vdm kept" test "$(content_of port.vdm)" = 6
  check "country.vdm kept" test "$(content_of country.vdm)" = " 2 "
  check "directory.vdm kept" test "$(content_of directory.vdm)" = /srv/klanten
  check "folder still 2775 group dialout" test "$(mode_of "$home")" = "2775 dialout"
  check "port.vdm again 664 group dialout" test "$(mode_of "$home/port.vdm")" = "664 dialout"
  check "nothing left in /var/lib/qv-velano5" test ! -e /var/lib/qv-velano5
else
  cat "$work/apt.log" >&2
  fail "apt-get install --reinstall"
fi

echo "== removing"
if apt-get remove -y qv-velano5 > "$work/apt.log" 2>&1; then
  ok "apt-get remove"
else
  cat "$work/apt.log" >&2
  fail "apt-get remove"
fi
check "programs gone" test ! -e /usr/bin/qv-velano5 -a ! -e /usr/bin/qv-module-sim
check "libfolivo gone" test ! -e "$libdir/libfolivo.so.1"
check "installation folder gone" test ! -e "$home"
# The maintainer scripts keep the package known to dpkg until it is purged.
if dpkg --purge qv-velano5 > "$work/apt.log" 2>&1; then ok "dpkg --purge"; else cat "$work/apt.log" >&2; fail "dpkg --purge"; fi
check "dpkg no longer knows qv-velano5" sh -c "! dpkg-query -W qv-velano5 > /dev/null 2>&1"

echo
if [ "$failures" -ne 0 ]; then
  echo "test-package: $failures check(s) failed" >&2
  exit 1
fi
echo "test-package: all checks passed"
