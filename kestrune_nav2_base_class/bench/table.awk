# Turns the Google Benchmark JSON files of one scripts/bench.sh run into the
# markdown tables of bench/README.md. Each figure is the median over the
# repetitions; a ratio compares two figures from the same run. The standard
# deviation over the repetitions is kept too (under "<name>@sd"): it gives the
# noise a ratio is judged against.

function base_name(name) {
  gsub(/\/(real_time|manual_time|threads:[0-9]+|iterations:[0-9]+|min_time:[0-9.]+)/, "", name)
  return name
}

function finish_entry(    name, key) {
  if (f["run_type"] == "aggregate" && f["aggregate_name"] != "median" && f["aggregate_name"] != "stddev") {
    return
  }
  name = base_name(f["run_name"] != "" ? f["run_name"] : f["name"])
  if (f["aggregate_name"] == "stddev") {
    name = name "@sd"
  }
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

function node_thread_row(label, prefix,    lib, plain, nav2, r, nav2_cell, nav2_ratio) {
  lib = num(prefix "/library", "real_time")
  plain = num(prefix "/plain", "real_time")
  nav2 = num(prefix "/nav2", "real_time")
  r = ratio(lib, plain)
  nav2_cell = nav2 < 0 ? "(none)" : spread(prefix "/nav2")
  nav2_ratio = nav2 < 0 ? "" : fmt(ratio(lib, nav2), 2) "x"
  printf "| %s | %s | %s | %s | %sx | %s | %s |\n", label, spread(prefix "/plain"), nav2_cell, spread(prefix "/library"), fmt(r, 2), verdict(r, 2.0, 1), nav2_ratio
}

# Relative spread of one counter over the repetitions (-1 if unknown).
function relative_sd(name, key,    m, sd) {
  m = num(name, key)
  sd = num(name "@sd", key)
  return (m > 0 && sd >= 0) ? sd / m : -1
}

# The noise band of the ratio ours / upstream for one counter: the two sides'
# relative standard deviations over the repetitions, combined.
function noise(ours, upstream, key,    a, b) {
  a = relative_sd(ours, key)
  b = relative_sd(upstream, key)
  return (a < 0 || b < 0) ? -1 : sqrt(a * a + b * b)
}

# At most @p limit: met; above it by less than the noise: met within noise.
function verdict_within_noise(value, limit, band) {
  if (value < 0) {
    return "n/a"
  }
  if (value <= limit) {
    return "met"
  }
  if (band >= 0 && value <= limit + band) {
    return "met (within noise)"
  }
  return "**missed**"
}

function percent(band) {
  return band < 0 ? "n/a" : sprintf("±%.0f%%", band * 100)
}

function spread_cell(name, prefix, digits) {
  return fmt(num(name, prefix "_ms"), digits) " (" fmt(num(name, prefix "_p50_ms"), digits) " / " fmt(num(name, prefix "_max_ms"), digits) ")"
}

function transition_row(step, setup, label,    ours, upstream, r, band) {
  ours = "costmap/transitions/" setup "/ours"
  upstream = "costmap/transitions/" setup "/upstream"
  r = ratio(num(ours, step "_ms"), num(upstream, step "_ms"))
  band = noise(ours, upstream, step "_ms")
  printf "| %s | %s | %s | %s | %sx | %s | %s |\n", step, label, spread_cell(ours, step, 2), spread_cell(upstream, step, 2), fmt(r, 2), percent(band), verdict_within_noise(r, 1.0, band)
}

function transition_cpu_row(step, setup, label,    ours, upstream, key, band) {
  ours = "costmap/transitions/" setup "/ours"
  upstream = "costmap/transitions/" setup "/upstream"
  key = step "_cpu_ms"
  band = noise(ours, upstream, key)
  printf "| %s | %s | %s | %s | %sx | %s |\n", step, label, fmt(num(ours, key), 2), fmt(num(upstream, key), 2), fmt(ratio(num(ours, key), num(upstream, key)), 2), percent(band)
}

function memory_cells(setup, key, unit, digits,    ours, upstream) {
  ours = num("costmap/memory/" setup "/ours", key)
  upstream = num("costmap/memory/" setup "/upstream", key)
  return fmt(ours, digits) unit " | " fmt(upstream, digits) unit " | " (ours < 0 || upstream <= 0 ? "n/a" : fmt(ours / upstream, 2) "x")
}

function memory_row(label, key, unit, digits) {
  printf "| %s | %s | %s |\n", label, memory_cells("no_layer", key, unit, digits), memory_cells("noop_layers", key, unit, digits)
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
  print "| Form | Plain pattern | nav2_util::NodeThread | Library | Library / plain (means) | Goal at most 2x | Library / NodeThread (means) |"
  print "|---|---|---|---|---|---|---|"
  node_thread_row("KestruneNodeThread, node form", "node_thread/node_form")
  node_thread_row("KestruneNodeThread, executor form", "node_thread/executor_form")
  node_thread_row("KestruneNodeMultiThread, node form", "node_multi_thread/node_form")
  node_thread_row("KestruneNodeMultiThread, executor form", "node_multi_thread/executor_form")
  print ""
  print "nav2_util::NodeThread is timed only once its executor spins: destroyed right after"
  print "construction it can lose its cancel and never return (rclcpp#1454). It has no"
  print "multi-threaded form."
  print ""
  print "### Costmap node beside Nav2's Costmap2DROS: each transition (ms: mean (median / worst))"
  print ""
  print "| Transition | Layers | Ours | Upstream | Ratio of means | Noise | Goal at most 1.0x |"
  print "|---|---|---|---|---|---|---|"
  split("configure activate deactivate cleanup", steps, " ")
  split("no_layer noop_layers nav2_layers", setups, " ")
  split("none|3 that do nothing|Nav2's three", setup_labels, "|")
  for (i = 1; i <= 4; ++i) {
    for (j = 1; j <= 3; ++j) {
      transition_row(steps[i], setups[j], setup_labels[j])
    }
  }
  print ""
  print "### Costmap node beside Nav2's Costmap2DROS: the calling thread's CPU time per transition (ms, mean)"
  print ""
  print "| Transition | Layers | Ours | Upstream | Ratio | Noise |"
  print "|---|---|---|---|---|---|"
  for (i = 1; i <= 4; ++i) {
    for (j = 1; j <= 3; ++j) {
      transition_cpu_row(steps[i], setups[j], setup_labels[j])
    }
  }
  print ""
  print "### Costmap node beside Nav2's Costmap2DROS: how the race between the map update loop's first pass and start() went"
  print ""
  print "| Share of cycles | Layers | Ours | Upstream |"
  print "|---|---|---|---|"
  for (i = 1; i <= 3; ++i) {
    ours = "costmap/transitions/" setups[i] "/ours"
    upstream = "costmap/transitions/" setups[i] "/upstream"
    printf "| activate took two update periods (over 75 ms) | %s | %s%% | %s%% |\n", setup_labels[i], fmt(num(ours, "activate_two_periods_share") * 100, 0), fmt(num(upstream, "activate_two_periods_share") * 100, 0)
    printf "| deactivate returned at once (under 25 ms) | %s | %s%% | %s%% |\n", setup_labels[i], fmt(num(ours, "deactivate_at_once_share") * 100, 0), fmt(num(upstream, "deactivate_at_once_share") * 100, 0)
  }
  print ""
  print "### Costmap node beside Nav2's Costmap2DROS: activate after the robot's transform appears"
  print ""
  print "| From the transform's arrival in the buffer (ms: mean (median / worst)) | Ours (20 ms pace) | Upstream (2 Hz) | Ratio of means |"
  print "|---|---|---|---|"
  ours = "costmap/activation_latency/ours"
  upstream = "costmap/activation_latency/upstream"
  printf "| to the end of the transform wait | %s | %s | %sx |\n", spread_cell(ours, "wait", 1), spread_cell(upstream, "wait", 1), fmt(ratio(num(ours, "wait_ms"), num(upstream, "wait_ms")), 2)
  printf "| to activate's return (adds start()) | %s | %s | %sx |\n", spread_cell(ours, "return", 1), spread_cell(upstream, "return", 1), fmt(ratio(num(ours, "return_ms"), num(upstream, "return_ms")), 2)
  print ""
  print "### Costmap node beside Nav2's Costmap2DROS: memory per configure + cleanup cycle (after 20 warm-up cycles)"
  print ""
  print "| Per cycle | No layer: ours | upstream | ratio | 3 layers that do nothing: ours | upstream | ratio |"
  print "|---|---|---|---|---|---|---|"
  memory_row("heap allocations", "allocs", "", 0)
  memory_row("heap bytes allocated", "alloc_KiB", " KiB", 1)
  memory_row("heap bytes still held after the cycle", "kept_B", " B", 0)
  memory_row("resident memory growth", "rss_growth_B", " B", 0)
  print ""
  print "### Costmap node beside Nav2's Costmap2DROS: steady state, active with Nav2's three layers"
  print ""
  ours = "costmap/steady/ours"
  upstream = "costmap/steady/upstream"
  idle = num("costmap/steady/idle", "cpu_ms_per_s")
  cpu_ours = num(ours, "cpu_ms_per_s")
  cpu_upstream = num(upstream, "cpu_ms_per_s")
  net_ours = (cpu_ours >= 0 && idle >= 0) ? cpu_ours - idle : -1
  net_upstream = (cpu_upstream >= 0 && idle >= 0) ? cpu_upstream - idle : -1
  # The noise of the net figures: each side's spread, over its net figure.
  a = (net_ours > 0) ? num(ours "@sd", "cpu_ms_per_s") / net_ours : -1
  b = (net_upstream > 0) ? num(upstream "@sd", "cpu_ms_per_s") / net_upstream : -1
  band = (a < 0 || b < 0) ? -1 : sqrt(a * a + b * b)
  r = ratio(net_ours, net_upstream)
  print "| Measure | Ours | Upstream | Ratio | Noise | Goal at most 1.05x |"
  print "|---|---|---|---|---|---|"
  printf "| process CPU time per second, the node active | %s ms/s | %s ms/s | %sx | | |\n", fmt(cpu_ours, 1), fmt(cpu_upstream, 1), fmt(ratio(cpu_ours, cpu_upstream), 2)
  printf "| the same, less the process without a node (%s ms/s) | %s ms/s | %s ms/s | %sx | %s | %s |\n", fmt(idle, 1), fmt(net_ours, 1), fmt(net_upstream, 1), fmt(r, 2), percent(band), verdict_within_noise(r, 1.05, band)
  printf "| costmap messages the viewer received per second | %s | %s | | | |\n", fmt(num(ours, "received_per_s"), 1), fmt(num(upstream, "received_per_s"), 1)
}
