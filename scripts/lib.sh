# shellcheck shell=bash
# Sourced by the scripts: what more than one of them does, said once here.
tarvolo_scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$tarvolo_scripts/xvfb.sh"

# Configures build/TREE from its preset unless that is done already.
configure_tree() {
  [ -f "build/$1/build.ninja" ] || cmake --preset "$1"
}

# apt-get's options for every download: a dropped connection is tried again.
apt_network=(-o Acquire::Retries=5)

# Fetches the package lists (those of APT_CONFIG when it is set). A list that
# cannot be had at this moment (a mirror in sync) is not a failed set-up: apt
# uses the others, and what decides is whether the packages can then be had.
update_package_lists() {
  apt-get "${apt_network[@]}" update -qq ||
    echo "setup: some package lists could not be fetched; going on with the others" >&2
}

# Wine's windows need a display: a private Xvfb unless one is given (with
# --always, in any case). When the script exits, the wineserver of each Wine
# named (win64, win32; each in its own environment) stops, and that Xvfb.
use_private_display() {
  local always=0
  if [ "${1:-}" = --always ]; then
    always=1
    shift
  fi
  ((always)) || [ -z "${DISPLAY:-}" ] || return 0
  start_private_xvfb 1024x768x24
  # shellcheck disable=SC2064 # the Wines are named now
  trap "stop_wines_and_display $*" EXIT
}

stop_wines_and_display() {
  local wine
  for wine in "$@"; do
    (export TARVOLO_WINE=$wine && source "$tarvolo_scripts/wine-env.sh" && wineserver -k 2>/dev/null) || true
  done
  kill "$XVFB_PID" 2>/dev/null || true
}

# The disassembly of one function, by its demangled name, in a binary, object
# or library: its heading line, then its instructions.
disassemble() {
  local objdump=$1 file=$2 function=$3
  "$objdump" -d -C --no-show-raw-insn "$file" |
    awk -v f="<$function>:" 'index($0, f) {on = 1; print; next} /^$/ {on = 0} on'
}

# In a disassembly on standard input: the division instructions, and what a
# compiler puts in their place (a bit mask, a shift, a multiplication by a
# reciprocal). The timed loop must divide and take no such shortcut.
count_divisions() { grep -c -E '\sidivl?\s' || true; }
count_shortcuts() { grep -c -E '\s((and|test)l?\s+\$0x1,|imul|shr|sar|shl)' || true; }

# Installs those of the named Debian packages that are missing (apt-get; root on
# a fresh machine), naming any that no package list has.
install_missing_packages() {
  local p missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "setup: installing ${missing[*]}"
  update_package_lists
  if ! DEBIAN_FRONTEND=noninteractive apt-get "${apt_network[@]}" install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null; then
    # Say which of them cannot be had, not only apt's last line.
    for p in "${missing[@]}"; do
      apt-cache show "$p" >/dev/null 2>&1 || echo "setup: the package $p is in no package list" >&2
    done
    echo "setup: could not install ${missing[*]} (apt-get's messages above)" >&2
    return 1
  fi
}
