#!/usr/bin/env bash
# Proves the install steps: on a brand-new Debian 12 that has only apt and
# git, the README's first command (./run.sh) installs what it needs, builds
# and writes the six files of the built-in scenario with their known sizes.
#
# Makes such a root with mmdebstrap in a new temporary folder, clones the
# committed HEAD of this repository into it, runs ./run.sh there in a chroot
# (with /proc, /dev and /sys mounted) and checks out/. Everything it makes,
# the packages it downloads included, stays inside that folder, which is
# unmounted and removed at the end, also on failure, on a time-out or on
# Ctrl-C. Prints how long each phase took. Needs root (mmdebstrap, mount and
# chroot) and Debian's package mirror; installs mmdebstrap on this machine
# when it is missing.
#
#   .ci/fresh_machine_check.sh
#
# Time limits per phase, in seconds: FRESH_ROOT_TIMEOUT (making the root,
# default 1200) and FRESH_RUN_TIMEOUT (./run.sh, default 2700).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
root_timeout=${FRESH_ROOT_TIMEOUT:-1200}
run_timeout=${FRESH_RUN_TIMEOUT:-2700}

# The built-in scenario's files and their sizes in bytes.
expected=(Zembrastina_Dervo_linea.dat 2199964
  Zembrastina_Dervo_47716.sim 4151
  Zembrastina_Dervo_47716.dat 33015
  Zembrastina_Dervo_47716_note.txt 2737
  Zembrastina_Dervo_47716_rallentamenti.txt 3291
  Zembrastina_Dervo_47716_scheda_treno.txt 4673)

say() { echo "fresh machine: $*"; }
fail() {
  echo "fresh machine: FAILED: $*" >&2
  exit 1
}

if [ "$(id -u)" -ne 0 ]; then
  fail "needs root to make the root, mount /proc, /dev and /sys in it and chroot there"
fi
head=$(git -C "$repo" rev-parse HEAD)
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
  say "note: uncommitted changes in $repo are not part of the check"
fi

# Phase timing: `phase NAME` closes the running phase and starts NAME.
phase_name=""
phase_start=0
timings=()
phase() {
  local now
  now=$(date +%s)
  [ -z "$phase_name" ] || timings+=("$(printf '%-22s %5d s' "$phase_name" $((now - phase_start)))")
  phase_name=$1
  phase_start=$now
  [ -z "$phase_name" ] || say "== $phase_name"
}
report_timings() {
  local t
  for t in "${timings[@]}"; do echo "  $t"; done
}

work=""
root=""
child=""
# The report goes to the script's own output even when the end comes while a
# phase's output goes to its log.
exec 3>&1 4>&2
# Ends what still runs inside the root, unmounts it and removes it. Nothing
# is removed while anything is still mounted under it.
cleanup() {
  local status=$?
  trap - EXIT INT TERM HUP
  set +e
  exec 1>&3 2>&4
  phase "clean up"
  if [ -n "$child" ] && kill -0 "$child" 2>/dev/null; then
    kill -TERM "$child" 2>/dev/null
    wait "$child" 2>/dev/null
  fi
  if [ -n "$root" ] && [ -d "$root" ]; then
    local link pid
    for link in /proc/[0-9]*/root; do
      if [ "$(readlink "$link" 2>/dev/null)" = "$root" ]; then
        pid=${link#/proc/}
        pid=${pid%/root}
        kill -KILL "$pid" 2>/dev/null
      fi
    done
    local mounts
    for _ in 1 2 3; do
      mounts=$(findmnt -rn -o TARGET | grep -F "$root/" | sort -r)
      [ -n "$mounts" ] || break
      while read -r m; do umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null; done <<<"$mounts"
    done
  fi
  if [ -n "$work" ] && [ -d "$work" ]; then
    if findmnt -rn -o TARGET | grep -qF "$work/"; then
      echo "fresh machine: still mounted under $work; left in place" >&2
      status=1
    else
      rm -rf --one-file-system "$work"
    fi
  fi
  phase ""
  if ((${#timings[@]})); then
    echo "fresh machine: phases"
    report_timings
  fi
  if [ "$status" -eq 0 ]; then
    say "passed (commit $head)"
  else
    echo "fresh machine: FAILED (commit $head)" >&2
  fi
  exit "$status"
}
trap cleanup EXIT
interrupted() {
  echo "fresh machine: interrupted by SIG$1" >&4
  exit "$2"
}
trap 'interrupted INT 130' INT
trap 'interrupted TERM 143' TERM
trap 'interrupted HUP 129' HUP

# run_bounded SECONDS COMMAND...: runs the command in the background, so
# that a signal to this script is handled at once, and ends it when it takes
# longer than SECONDS.
run_bounded() {
  local seconds=$1
  shift
  timeout --kill-after=30 "$seconds" "$@" 3>&- 4>&- &
  child=$!
  local status=0
  wait "$child" || status=$?
  child=""
  [ "$status" -ne 124 ] || echo "fresh machine: $phase_name took more than $seconds s" >&4
  return "$status"
}

if ! command -v mmdebstrap >/dev/null; then
  phase "install mmdebstrap"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mmdebstrap \
    >/dev/null
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/fresh_machine_XXXXXX")
root=$work/root
say "root $root, commit $head"

phase "make the root"
run_bounded "$root_timeout" nice mmdebstrap --quiet --variant=apt \
  --include=git,ca-certificates bookworm "$root" ||
  fail "mmdebstrap could not make a Debian 12 root"

phase "clone the project"
checkout=/root/scenario
git clone --quiet --no-hardlinks --no-checkout "$repo" "$root$checkout"
git -C "$root$checkout" checkout --quiet --detach "$head" ||
  fail "commit $head is not on a branch of $repo"

phase "run ./run.sh"
# The root's own resolver settings may be missing; the host's reach the mirror.
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
mount --rbind /sys "$root/sys"
mount --make-rslave "$root/sys"
log=$work/run.log
# A newcomer's shell: a clean environment and no display.
if ! run_bounded "$run_timeout" nice chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
  LANG=C.UTF-8 PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /bin/bash -c "cd $checkout && ./run.sh" >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  fail "./run.sh failed on the fresh root (last lines above)"
fi
tail -n 10 "$log"

phase "check out/"
out=$root$checkout/out
wrong=0
for ((i = 0; i < ${#expected[@]}; i += 2)); do
  file=$out/${expected[i]}
  if [ ! -f "$file" ]; then
    echo "fresh machine: ${expected[i]} is missing from out/" >&2
    wrong=1
  elif [ "$(stat -c %s "$file")" != "${expected[i + 1]}" ]; then
    echo "fresh machine: ${expected[i]} has $(stat -c %s "$file") bytes," \
      "expected ${expected[i + 1]}" >&2
    wrong=1
  fi
done
((wrong == 0)) || fail "out/ does not hold the six files with their sizes"
say "out/ holds the six files with their sizes"
