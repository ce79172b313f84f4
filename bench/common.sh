# Set-up shared by the benchmark scripts, sourced from the repository folder: headless settings,
# the folder of the built programs ($bin, KELVRA_BENCH_BIN), a scratch folder ($work) and, at
# exit, the stand-in and a client left running ($client_pid) stopped and the scratch folder gone.
source scripts/headless-env
bin="${KELVRA_BENCH_BIN:-build/bin}"
work=$(mktemp -d)
sim_pid=
client_pid=
trap 'kill ${sim_pid:-} ${client_pid:-} 2>/dev/null || true; rm -rf "$work"' EXIT

# Starts the stand-in on a free loopback port with its database in $work; sets sim_pid, port and
# root. Exits the script when the stand-in does not report its port within 15 s.
start_sim() {
  coproc SIM { exec "$bin/kelvra-service-sim" --port 0 --db "$work/sim.db"; }
  sim_pid=$SIM_PID
  read -r -t 15 port <&"${SIM[0]}"
  root="http://127.0.0.1:$port"
}
