#!/usr/bin/env bash
# Proves that the README's commands work on a clean Debian 12: debootstraps a
# minimal bookworm (plus git and sudo) into a folder, clones the committed
# HEAD of this repository into it, and in a chroot, as a user with sudo, runs
# the test command (scripts/test.sh) and then the run command (scripts/run.sh)
# under Xvfb, which must stay up for a while before it is stopped.
#
# Usage (as root): scripts/fresh-check.sh [FOLDER]
#   FOLDER   where the system goes (default: a new folder under /var/tmp);
#            it is left in place afterwards for a look inside.
#   STAY_UP  seconds the run command must stay up (default 30)
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
stay_up="${STAY_UP:-30}"
root="${1:-$(mktemp -d /var/tmp/tavrisk-fresh-XXXXXX)}"
user=tester
home="/home/$user"

if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-check: needs root (debootstrap, chroot, mounts)" >&2
  exit 1
fi

log() { echo "== fresh-check $(date -u +%H:%M:%S): $*"; }

# The Debian archive this machine's apt uses, so the clean system gets the
# same package versions.
debian_mirror() {
  local uri
  uri=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk '$1 == "deb" && $3 ~ /^bookworm$/ { print $2; exit }')
  if [ -z "$uri" ]; then
    uri=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
      awk '/^URIs:/ { u = $2 } /^Suites:/ && / bookworm( |$)/ { print u; exit }')
  fi
  echo "${uri:-http://deb.debian.org/debian}"
}

mounted=()
cleanup() {
  local status=$?
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount -l "${mounted[i]}" 2>/dev/null || true
  done
  exit $status
}
trap cleanup EXIT INT TERM

mount_into() { # TARGET MOUNT-ARGUMENTS...
  local target="$root$1"
  shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounted+=("$target")
}

in_root() { chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  LANG=C.UTF-8 "$@"; }

as_user() { in_root /usr/bin/sudo -u "$user" -H /usr/bin/env -i HOME="$home" LANG=C.UTF-8 \
  PATH=/usr/local/bin:/usr/bin:/bin "$@"; }

command -v debootstrap >/dev/null || {
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
}

mirror=$(debian_mirror)
log "debootstrap bookworm minbase from $mirror into $root"
debootstrap --variant=minbase --include=git,sudo,ca-certificates bookworm "$root" "$mirror" \
  >"$root.debootstrap.log" 2>&1 || {
  tail -20 "$root.debootstrap.log"
  exit 1
}
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf"
# debootstrap writes no hosts file: give the system the usual one, with the
# host's own name, which sudo looks up.
printf '127.0.0.1\tlocalhost\n127.0.1.1\t%s\n::1\t\tlocalhost ip6-localhost ip6-loopback\n' \
  "$(hostname)" >"$root/etc/hosts"

mount_into /proc -t proc proc
mount_into /sys -t sysfs sys
mount_into /dev --bind /dev
mount_into /dev/pts --bind /dev/pts
mount_into /dev/shm --bind /dev/shm

in_root useradd -m -s /bin/bash "$user"
echo "$user ALL=(ALL) NOPASSWD:ALL" >"$root/etc/sudoers.d/$user"
chmod 440 "$root/etc/sudoers.d/$user"

commit=$(git -C "$repo" rev-parse HEAD)
log "cloning $commit"
git clone -q --no-checkout "$(git -C "$repo" rev-parse --path-format=absolute --git-common-dir)" \
  "$root$home/tavrisk"
git -C "$root$home/tavrisk" checkout -q -b fresh-check "$commit"
in_root chown -R "$user:$user" "$home/tavrisk"

log "test command: scripts/test.sh"
test_started=$(date +%s)
set +e
as_user bash -c "cd ~/tavrisk && scripts/test.sh" 2>&1 | tee "$root.test.log"
test_status=${PIPESTATUS[0]}
set -e
test_seconds=$(($(date +%s) - test_started))

log "run command: scripts/run.sh under Xvfb for $stay_up s"
# The run command builds first (nothing left to do after the tests); it has
# to be up, not merely started, when the time is over.
run_status=0
as_user bash -c "cd ~/tavrisk
  setsid xvfb-run -a -s '-screen 0 1280x1024x24' scripts/run.sh >/tmp/run.log 2>&1 &
  pid=\$!
  for ((s = 0; s < $stay_up; s++)); do
    kill -0 \$pid 2>/dev/null || break
    sleep 1
  done
  if kill -0 \$pid 2>/dev/null; then
    echo \"run command still up after $stay_up s; stopping it\"
    kill -TERM -- -\$pid
    wait \$pid 2>/dev/null || true
    exit 0
  fi
  wait \$pid; status=\$?
  echo \"run command ended after \$s s with status \$status:\"
  tail -20 /tmp/run.log
  exit 1" || run_status=$?

echo
echo "==== fresh-check summary ===="
echo "system:       Debian $(cat "$root/etc/debian_version") minbase + git, sudo (in $root)"
echo "commit:       $commit"
tally=$(grep -E "tests passed|tests failed" "$root.test.log" | tail -1 || true)
if [ $test_status -eq 0 ]; then
  echo "test command: PASSED in ${test_seconds}s (${tally:-no CTest tally})"
else
  echo "test command: FAILED (status $test_status) after ${test_seconds}s (${tally:-no CTest tally})"
fi
if [ $run_status -eq 0 ] && [ $test_status -ne 0 ]; then
  # The run command builds first: after a failed test command its time may
  # have gone into the build.
  echo "run command:  stayed up ${stay_up}s under Xvfb (building, as the tests failed)"
elif [ $run_status -eq 0 ]; then
  echo "run command:  stayed up ${stay_up}s under Xvfb, then stopped"
else
  echo "run command:  FAILED (did not stay up ${stay_up}s)"
fi
[ $test_status -eq 0 ] && [ $run_status -eq 0 ]
