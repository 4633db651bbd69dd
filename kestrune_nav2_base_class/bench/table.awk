# Turns the Google Benchmark JSON files of one scripts/bench.sh run into the
# markdown tables of bench/README.md. Each figure is the median over the
# repetitions; a ratio compares two figures from the same run.

function base_name(name) {
  gsub(/\/(real_time|manual_time|threads:[0-9]+|iterations:[0-9]+|min_time:[0-9.]+)/, "", name)
  return name
}

function finish_entry(    name, key) {
  if (f["run_type"] == "aggregate" && f["aggregate_name"] != "median") {
    return
  }
  name = base_name(f["run_name"] != "" ? f["run_name"] : f["name"])
  have[name] = 1
  for (key in f) {
    v[name, key] = f[key]
  }
}

function num(name, key) {
  return ((name, key) in v) ? v[name, key] + 0 : -1
}

function fmt(value, digits) {
  if (value < 0) {
    return "n/a"
  }
  return sprintf("%." digits "f", value)
}

function ratio(a, b) {
  return (a > 0 && b > 0) ? a / b : -1
}

function verdict(value, limit, at_most) {
  if (value < 0) {
    return "n/a"
  }
  if (at_most) {
    return value <= limit ? "met" : "**missed**"
  }
  return value >= limit ? "met" : "**missed**"
}

function logger_row(label, sinks,    lib, bare, r) {
  lib = num("info_line/" sinks "/library", "cpu_time")
  bare = num("info_line/" sinks "/spdlog", "cpu_time")
  r = ratio(lib, bare)
  printf "| %s | %s ns | %s ns | %sx | at most 1.3x | %s |\n", label, fmt(lib, 1), fmt(bare, 1), fmt(r, 2), verdict(r, 1.3, 1)
}

function threads_row(label, sinks,    lib, bare, shared, r) {
  lib = num("info_line_8_threads/" sinks "/library", "items_per_second") / 1e6
  bare = num("info_line_8_threads/" sinks "/spdlog", "items_per_second") / 1e6
  shared = num("info_line_8_threads/" sinks "/spdlog_shared_counter", "items_per_second") / 1e6
  r = ratio(lib, bare)
  printf "| %s | %s M lines/s | %s M lines/s | %sx | at least 0.8x | %s |\n", label, fmt(lib, 2), fmt(bare, 2), fmt(r, 2), verdict(r, 0.8, 0)
  printf "| %s, bare spdlog numbering from one shared counter too | %s M lines/s | %s M lines/s | %sx | (what the counter costs) | |\n", label, fmt(lib, 2), fmt(shared, 2), fmt(ratio(lib, shared), 2)
}

function spread(name) {
  return fmt(num(name, "real_time"), 1) " / " fmt(num(name, "p50_us"), 1) " / " fmt(num(name, "p99_us"), 1) " / " fmt(num(name, "max_us"), 0)
}

function node_thread_row(label, prefix,    lib, plain, r) {
  lib = num(prefix "/library", "real_time")
  plain = num(prefix "/plain", "real_time")
  r = ratio(lib, plain)
  printf "| %s | %s | %s | %sx | %s |\n", label, spread(prefix "/plain"), spread(prefix "/library"), fmt(r, 2), verdict(r, 2.0, 1)
}

function step_cell(name) {
  return fmt(num(name, "real_time"), 2) " (" fmt(num(name, "p50_ms"), 2) " / " fmt(num(name, "max_ms"), 2) ")"
}

BEGIN { in_benchmarks = 0 }
/"benchmarks": \[/ { in_benchmarks = 1; next }
in_benchmarks && /^ *\{ *$/ { split("", f); next }
in_benchmarks && /^ *\},? *$/ { finish_entry(); next }
in_benchmarks && /^ *"[^"]+": / {
  line = $0
  sub(/^ *"/, "", line)
  key = line
  sub(/".*/, "", key)
  value = line
  sub(/^[^"]*": */, "", value)
  sub(/,$/, "", value)
  gsub(/"/, "", value)
  f[key] = value
  next
}

END {
  print "### Logger (one thread: CPU time per line; 8 threads: lines per second of wall time, all threads together)"
  print ""
  print "| Measure | Library | Bare spdlog, same text and sinks | Ratio | Goal | |"
  print "|---|---|---|---|---|---|"
  logger_row("info line, no sink", "no_sink")
  logger_row("info line, file sink", "file_sink")
  threads_row("8 threads, no sink", "no_sink")
  threads_row("8 threads, file sink", "file_sink")
  lib = num("below_level/library", "cpu_time")
  bare = num("below_level/spdlog", "cpu_time")
  formatting = num("below_level/formatting_only", "cpu_time")
  printf "| info line below the level (\"error\") | %s ns | %s ns | %sx | a few ns, not a formatting's worth (%s ns) | %s |\n", fmt(lib, 1), fmt(bare, 1), fmt(ratio(lib, bare), 2), fmt(formatting, 1), (lib >= 0 && lib < 10 && lib < formatting / 3) ? "met" : "**missed**"
  print ""
  print "### Node threads: construct and destroy (µs: mean / median / 99th percentile / worst)"
  print ""
  print "| Form | Plain pattern | Library | Ratio of means | Goal at most 2x |"
  print "|---|---|---|---|---|"
  node_thread_row("KestruneNodeThread, node form", "node_thread/node_form")
  node_thread_row("KestruneNodeThread, executor form", "node_thread/executor_form")
  node_thread_row("KestruneNodeMultiThread, node form", "node_multi_thread/node_form")
  node_thread_row("KestruneNodeMultiThread, executor form", "node_multi_thread/executor_form")
  print ""
  print "### Costmap node: each transition on its own (ms: mean (median / worst))"
  print ""
  print "| Transition | 0 layers | 3 layers |"
  print "|---|---|---|"
  split("configure activate deactivate cleanup", steps, " ")
  for (i = 1; i <= 4; ++i) {
    printf "| %s | %s | %s |\n", steps[i], step_cell("costmap/" steps[i] "/layers:0"), step_cell("costmap/" steps[i] "/layers:3")
  }
  print ""
  print "### Costmap node: activate after the robot's transform appears (the wait's 20 ms pace)"
  print ""
  print "| Measure | ms |"
  print "|---|---|"
  late = "costmap/activate_after_transform_appears"
  printf "| from the transform's arrival in the buffer to the end of the wait: mean (median / worst) | %s |\n", step_cell(late)
  printf "| from the transform's arrival to activate's return (adds the base's start()): median | %s |\n", fmt(num(late, "return_p50_ms"), 2)
  print ""
  print "### Costmap node: memory per configure + cleanup cycle (after 20 warm-up cycles)"
  print ""
  print "| Per cycle | 0 layers | 3 layers |"
  print "|---|---|---|"
  m0 = "costmap/configure_cleanup_memory/layers:0"
  m3 = "costmap/configure_cleanup_memory/layers:3"
  printf "| heap allocations | %s | %s |\n", fmt(num(m0, "allocs"), 0), fmt(num(m3, "allocs"), 0)
  printf "| heap bytes allocated | %s KiB | %s KiB |\n", fmt(num(m0, "alloc_KiB"), 1), fmt(num(m3, "alloc_KiB"), 1)
  printf "| heap bytes still held after the cycle | %s B | %s B |\n", fmt(num(m0, "kept_B"), 0), fmt(num(m3, "kept_B"), 0)
  printf "| resident memory growth | %s B | %s B |\n", fmt(num(m0, "rss_growth_B"), 0), fmt(num(m3, "rss_growth_B"), 0)
}
