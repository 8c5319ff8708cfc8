# Sourced: start_private_xvfb SIZE starts an Xvfb on a free display, exports
# DISPLAY and leaves its process id in XVFB_PID.
start_private_xvfb() {
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 100); do
    [ -s "$number_file" ] && break
    sleep 0.1
  done
  [ -s "$number_file" ] || { echo "Xvfb did not start" >&2; rm -f "$number_file"; return 1; }
  export DISPLAY=":$(head -n 1 "$number_file")"
  rm -f "$number_file"
}
