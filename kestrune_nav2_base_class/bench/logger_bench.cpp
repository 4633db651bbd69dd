// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// The library's logger against bare spdlog doing the same work: the same text,
// "<n> [INFO] " and the message, formatted and handed to an spdlog logger that
// has the same sinks, the same level and the same "%v" pattern. Only the ratio
// between the two is meaningful; absolute times on a shared 2-core machine are not.
//
// The logger reads its environment once per process, at its first use, so main()
// sets it before anything logs. KESTRUNE_BENCH_LEVEL is that level: "info" builds
// the program that times lines which are written, "error" the one that times an
// info line below the level.

#include <benchmark/benchmark.h>
#include <spdlog/logger.h>
#include <spdlog/sinks/basic_file_sink.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "kestrune_nav2_base_class/logger.hpp"

namespace
{

enum class Sinks
{
  kNone,
  kFile
};

/// A basic_file_sink_mt on a temporary file that is removed with it.
class TempFileSink
{
public:
  TempFileSink()
  {
    std::string path = (std::filesystem::temp_directory_path() / "kestrune_bench_XXXXXX").string();
    const int fd = mkstemp(path.data());
    if (fd < 0) {
      throw std::runtime_error("cannot create a temporary file for the file sink: " + path);
    }
    close(fd);
    path_ = path;
    sink_ = std::make_shared<spdlog::sinks::basic_file_sink_mt>(path_);
  }
  TempFileSink(const TempFileSink &) = delete;
  TempFileSink & operator=(const TempFileSink &) = delete;
  ~TempFileSink() { std::remove(path_.c_str()); }

  const spdlog::sink_ptr & sink() const { return sink_; }

private:
  std::string path_;
  spdlog::sink_ptr sink_;
};

/// What a benchmark shares between its threads: set up by thread 0 before the
/// measured loop (every thread waits for the others at its start) and torn
/// down by thread 0 after it (likewise).
struct Setup
{
  std::unique_ptr<TempFileSink> file;
  std::shared_ptr<spdlog::logger> bare;
};
Setup g_setup;

std::vector<spdlog::sink_ptr> SinksOf(Sinks sinks)
{
  if (sinks == Sinks::kFile) {
    g_setup.file = std::make_unique<TempFileSink>();
    return {g_setup.file->sink()};
  }
  return {};
}

/// Gives the process logger (already set up from the environment) the sinks,
/// with the pattern its own sinks get.
void SetUpLibrary(Sinks sinks)
{
  auto logger = kestrune::Logger::Instance().GetLogger();
  logger->sinks() = SinksOf(sinks);
  for (const auto & sink : logger->sinks()) {
    sink->set_pattern("%v");
  }
}

/// A bare spdlog logger configured as the library configures its own.
void SetUpBare(Sinks sinks, spdlog::level::level_enum level)
{
  const auto list = SinksOf(sinks);
  g_setup.bare = std::make_shared<spdlog::logger>("bare", list.begin(), list.end());
  g_setup.bare->set_level(level);
  g_setup.bare->set_pattern("%v", spdlog::pattern_time_type::local);
}

void TearDown()
{
  kestrune::Logger::Instance().GetLogger()->sinks().clear();
  g_setup.bare.reset();
  g_setup.file.reset();
}

// A line as the costmap node writes it: a short text with one string argument.
const std::string kLayerName = "obstacle_layer";

void LibraryInfoLine(benchmark::State & state, Sinks sinks)
{
  if (state.thread_index() == 0) {
    SetUpLibrary(sinks);
  }
  for (auto _ : state) {
    KESTRUNE_LOG_INFO("Initialized plugin \"{}\"", kLayerName);
  }
  state.SetItemsProcessed(state.iterations());
  if (state.thread_index() == 0) {
    TearDown();
  }
}

void BareInfoLine(benchmark::State & state, Sinks sinks, spdlog::level::level_enum level)
{
  if (state.thread_index() == 0) {
    SetUpBare(sinks, level);
  }
  // Same text, so the same number; a host without the library has no
  // process-wide counter to share, so this one is the thread's own. The logger
  // is reached inside the loop: other threads get there only once thread 0
  // has made it.
  unsigned int count = 0;
  for (auto _ : state) {
    g_setup.bare->log(
      spdlog::source_loc{__FILE__, __LINE__, static_cast<const char *>(__func__)},
      spdlog::level::info, "{:3d} [INFO] Initialized plugin \"{}\"", ++count & 127U, kLayerName);
  }
  state.SetItemsProcessed(state.iterations());
  if (state.thread_index() == 0) {
    TearDown();
  }
}

/// Bare spdlog numbering its lines from one counter shared by all threads, as
/// the library's process-wide sequence does: what is left of the gap between
/// the two is the library's own.
std::atomic<std::uint8_t> g_shared_count{0};

void BareInfoLineSharedCounter(benchmark::State & state, Sinks sinks)
{
  if (state.thread_index() == 0) {
    SetUpBare(sinks, spdlog::level::info);
  }
  for (auto _ : state) {
    const unsigned int number = static_cast<std::uint8_t>(g_shared_count.fetch_add(1) + 1U) & 127U;
    g_setup.bare->log(
      spdlog::source_loc{__FILE__, __LINE__, static_cast<const char *>(__func__)},
      spdlog::level::info, "{:3d} [INFO] Initialized plugin \"{}\"", number, kLayerName);
  }
  state.SetItemsProcessed(state.iterations());
  if (state.thread_index() == 0) {
    TearDown();
  }
}

/// What a line below the level would cost if it were formatted anyway.
void FormatOnly(benchmark::State & state)
{
  unsigned int count = 0;
  for (auto _ : state) {
    fmt::memory_buffer text;
    fmt::format_to(std::back_inserter(text), "{:3d} [INFO] ", ++count & 127U);
    fmt::format_to(std::back_inserter(text), "Initialized plugin \"{}\"", kLayerName);
    benchmark::DoNotOptimize(text.data());
    benchmark::ClobberMemory();
  }
}

void RegisterWrittenLines()
{
  for (const Sinks sinks : {Sinks::kNone, Sinks::kFile}) {
    const std::string sink_name = sinks == Sinks::kNone ? "no_sink" : "file_sink";
    benchmark::RegisterBenchmark(
      ("info_line/" + sink_name + "/library").c_str(),
      [sinks](benchmark::State & state) { LibraryInfoLine(state, sinks); });
    benchmark::RegisterBenchmark(
      ("info_line/" + sink_name + "/spdlog").c_str(),
      [sinks](benchmark::State & state) { BareInfoLine(state, sinks, spdlog::level::info); });
    benchmark::RegisterBenchmark(
      ("info_line_8_threads/" + sink_name + "/library").c_str(),
      [sinks](benchmark::State & state) { LibraryInfoLine(state, sinks); })
      ->Threads(8)
      ->UseRealTime();
    benchmark::RegisterBenchmark(
      ("info_line_8_threads/" + sink_name + "/spdlog").c_str(),
      [sinks](benchmark::State & state) { BareInfoLine(state, sinks, spdlog::level::info); })
      ->Threads(8)
      ->UseRealTime();
    benchmark::RegisterBenchmark(
      ("info_line_8_threads/" + sink_name + "/spdlog_shared_counter").c_str(),
      [sinks](benchmark::State & state) { BareInfoLineSharedCounter(state, sinks); })
      ->Threads(8)
      ->UseRealTime();
  }
}

void RegisterBelowLevelLines()
{
  benchmark::RegisterBenchmark(
    "below_level/library", [](benchmark::State & state) { LibraryInfoLine(state, Sinks::kNone); });
  benchmark::RegisterBenchmark("below_level/spdlog", [](benchmark::State & state) {
    BareInfoLine(state, Sinks::kNone, spdlog::level::err);
  });
  benchmark::RegisterBenchmark("below_level/formatting_only", FormatOnly);
}

}  // namespace

int main(int argc, char ** argv)
{
  setenv("SPDLOG_STDOUT", "false", 1);
  setenv("SPDLOG_SYSTEMD", "false", 1);
  setenv("SPDLOG_LEVEL", KESTRUNE_BENCH_LEVEL, 1);
  // The one-time set-up happens here, outside every measurement.
  kestrune::Logger::Instance();

  if (std::string(KESTRUNE_BENCH_LEVEL) == "info") {
    RegisterWrittenLines();
  } else {
    RegisterBelowLevelLines();
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
