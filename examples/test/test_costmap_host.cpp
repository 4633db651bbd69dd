// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// The demo host end to end: it runs as a separate process, exactly as a user runs it,
// loading the example layers through pluginlib from the install's ament index.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "map_io.hpp"

namespace
{

namespace fs = std::filesystem;
using kestrune_example_layers::loadMap;
using kestrune_example_layers::OccupancyMap;
using kestrune_example_layers::PgmImage;
using kestrune_example_layers::readPgm;

const std::string kHost = KESTRUNE_COSTMAP_HOST;
const std::string kMapsDir = KESTRUNE_EXAMPLE_MAPS_DIR;

// Grey levels the host writes: 0 occupied, 254 free, 128 unknown.
constexpr int kLethalPixel = 0;
constexpr int kFreePixel = 254;
constexpr int kUnknownPixel = 128;

struct RunResult
{
  int exit_code{-1};
  std::string output;  // standard output and standard error, interleaved
};

/// A DDS domain that no other test process holds (the tests of
/// kestrune_nav2_base_class take theirs from the same lock files), kept until
/// this process exits. Throws when every domain is taken.
int ClaimRosDomain()
{
  const std::string folder = "/tmp/kestrune_ros_domains";
  ::mkdir(folder.c_str(), 0777);
  for (int domain = 1; domain <= 100; ++domain) {
    const std::string path = folder + "/" + std::to_string(domain) + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
      throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      return domain;
    }
    ::close(fd);
  }
  throw std::runtime_error(
    "every ROS domain from 1 to 100 is held by another test process (" + folder + ")");
}

/// A command-line word for the shell, quoted.
std::string Quoted(const std::string & word)
{
  std::string quoted = "'";
  for (const char c : word) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

/// Runs the host with @p args, the library's log on standard output whatever
/// the caller's environment says; coreutils' timeout ends a hang after two minutes.
RunResult RunHost(const std::vector<std::string> & args)
{
  // Hosts run by tests side by side must not hear each other.
  static const int domain = ClaimRosDomain();
  std::string command =
    "env -u SPDLOG_STDOUT -u SPDLOG_SYSTEMD -u SPDLOG_LEVEL ROS_LOCALHOST_ONLY=1 "
    "ROS_DOMAIN_ID=" +
    std::to_string(domain) + " timeout -s KILL 120 " + Quoted(kHost);
  for (const auto & arg : args) {
    command += " " + Quoted(arg);
  }
  RunResult result;
  FILE * pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "popen: " << std::strerror(errno);
    return result;
  }
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;) {
    result.output.append(buffer, n);
  }
  const int status = pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  EXPECT_NE(result.exit_code, 137) << "costmap_host did not finish within two minutes";
  return result;
}

class TemporaryFolder
{
public:
  TemporaryFolder()
  {
    char pattern[] = "/tmp/kestrune_costmap_host_XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
      ADD_FAILURE() << "mkdtemp: " << std::strerror(errno);
    }
    path_ = pattern;
  }
  ~TemporaryFolder() { fs::remove_all(path_); }
  const std::string & path() const { return path_; }

private:
  std::string path_;
};

std::vector<std::string> FilesIn(const std::string & folder)
{
  std::vector<std::string> names;
  std::error_code error;
  for (const auto & entry : fs::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

bool Contains(const std::string & text, const std::string & part)
{
  return text.find(part) != std::string::npos;
}

/// The complete demo run, once per test process.
struct FullRun
{
  TemporaryFolder folder;
  std::string output_dir;
  RunResult result;

  FullRun()
  {
    output_dir = folder.path() + "/out";
    result = RunHost({"--duration", "1.5", "--output", output_dir});
  }
};

const FullRun & TheFullRun()
{
  static const FullRun run;
  return run;
}

/// Grey level of grid cell (@p mx, @p my) in a PGM whose top row is the grid's last row.
int PixelAt(const PgmImage & image, unsigned int mx, unsigned int my)
{
  return image.pixels[std::size_t{image.height - 1 - my} * image.width + mx];
}

unsigned int Cell(double metres)
{
  return static_cast<unsigned int>(std::floor(metres / 0.05));
}

// --- the full run ------------------------------------------------------------------

TEST(CostmapHost, RunsTwoLifecyclesAndReportsEveryTransition)
{
  const RunResult & run = TheFullRun().result;
  ASSERT_EQ(run.exit_code, 0) << run.output;

  const std::regex report("^(configure|activate|deactivate|cleanup): (\\w+) \\(\\d+\\.\\d ms\\)$");
  std::vector<std::string> transitions;
  std::size_t start = 0;
  while (start < run.output.size()) {
    std::size_t end = run.output.find('\n', start);
    end = end == std::string::npos ? run.output.size() : end;
    std::smatch match;
    const std::string line = run.output.substr(start, end - start);
    if (std::regex_match(line, match, report)) {
      EXPECT_EQ(match[2], "success") << line;
      transitions.push_back(match[1]);
    }
    start = end + 1;
  }
  const std::vector<std::string> expected{"configure", "activate", "deactivate", "cleanup",
                                          "configure", "activate", "deactivate", "cleanup"};
  EXPECT_EQ(transitions, expected) << run.output;

  // The robot starts broadcasting a moment after activate begins: the wait shows.
  EXPECT_TRUE(Contains(run.output, "Checking transform")) << run.output;
  EXPECT_TRUE(Contains(run.output, "Timed out waiting for transform from base_link to map"))
    << run.output;
  EXPECT_TRUE(Contains(run.output, "footprint: sent a 0.70 m x 0.60 m footprint")) << run.output;

  const std::regex summary(
    "costmap 200x160 cells at 0\\.05 m: lethal (\\d+), inscribed (\\d+), free (\\d+), "
    "unknown (\\d+)");
  std::smatch counts;
  ASSERT_TRUE(std::regex_search(run.output, counts, summary)) << run.output;
  for (int i = 1; i <= 4; ++i) {
    EXPECT_GT(std::stoul(counts[i]), 0u) << counts[0];
  }
}

TEST(CostmapHost, SavedCostmapShowsObstaclesInflationAndKeepout)
{
  const FullRun & run = TheFullRun();
  ASSERT_EQ(run.result.exit_code, 0) << run.result.output;
  const std::string pgm = run.output_dir + "/costmap.pgm";
  const std::string yaml = run.output_dir + "/costmap.yaml";
  ASSERT_TRUE(fs::exists(pgm));
  ASSERT_TRUE(fs::exists(yaml));
  EXPECT_EQ(FilesIn(run.output_dir).size(), 2u) << "temporary files left behind";

  // The pair reads back as map_server reads a trinary map: the image holds only
  // the three levels of that mode, each read as what it stands for.
  const OccupancyMap saved = loadMap(yaml);
  ASSERT_EQ(saved.width, 200u);
  ASSERT_EQ(saved.height, 160u);
  EXPECT_NEAR(saved.resolution, 0.05, 1e-6);
  // The costmap publisher works the origin out in single precision.
  EXPECT_NEAR(saved.origin_x, 0.0, 1e-6);
  EXPECT_NEAR(saved.origin_y, 0.0, 1e-6);
  const PgmImage image = readPgm(pgm);
  for (unsigned int my = 0; my < saved.height; ++my) {
    for (unsigned int mx = 0; mx < saved.width; ++mx) {
      const int pixel = PixelAt(image, mx, my);
      ASSERT_TRUE(pixel == kLethalPixel || pixel == kUnknownPixel || pixel == kFreePixel)
        << "grey level " << pixel << " at " << mx << ", " << my;
      ASSERT_EQ(saved.at(mx, my), pixel == kLethalPixel ? 100 : (pixel == kFreePixel ? 0 : -1))
        << "cell " << mx << ", " << my;
    }
  }
  const OccupancyMap rooms = loadMap(kMapsDir + "/rooms.yaml");

  // Every obstacle of the map is occupied; what lies outside the building stays unknown.
  for (unsigned int my = 0; my < rooms.height; ++my) {
    for (unsigned int mx = 0; mx < rooms.width; ++mx) {
      if (rooms.at(mx, my) == 100) {
        ASSERT_EQ(saved.at(mx, my), 100) << "obstacle cell " << mx << ", " << my;
      }
    }
  }
  EXPECT_EQ(saved.at(0, 0), -1);

  // East of the pillar (x 1.0..1.3 m, y 1.0..1.3 m): occupied next to it (inscribed
  // cost), then a ring whose cost lies between the thresholds (unknown in a trinary
  // map), free beyond the inflation radius (0.55 m); never costlier further out.
  const unsigned int row = Cell(1.15);
  const unsigned int edge = Cell(1.3);
  ASSERT_EQ(saved.at(edge - 1, row), 100);
  EXPECT_EQ(saved.at(edge, row), 100);
  const auto freeness = [](int value) { return value == 100 ? 0 : (value == -1 ? 1 : 2); };
  bool ring = false;
  for (unsigned int mx = edge; mx < edge + 14; ++mx) {
    EXPECT_LE(freeness(saved.at(mx, row)), freeness(saved.at(mx + 1, row)))
      << "cost rises at " << mx;
    ring = ring || saved.at(mx, row) == -1;
  }
  EXPECT_TRUE(ring) << "no cost between the thresholds east of the pillar";
  EXPECT_EQ(saved.at(edge + 12, row), 0);

  // The keepout zone (x 6.0..7.5 m, y 0.8..2.0 m) is lethal, and only from the filter:
  // the map is free there.
  for (unsigned int my = Cell(0.85); my <= Cell(1.95); ++my) {
    for (unsigned int mx = Cell(6.05); mx <= Cell(7.45); ++mx) {
      ASSERT_EQ(rooms.at(mx, my), 0);
      ASSERT_EQ(PixelAt(image, mx, my), kLethalPixel) << "keepout cell " << mx << ", " << my;
    }
  }

  // Cells far (over 0.6 m) from every obstacle, unknown cell and keepout cell are free.
  const int reach = 12;
  std::size_t far_cells = 0;
  for (int my = 0; my < static_cast<int>(rooms.height); ++my) {
    for (int mx = 0; mx < static_cast<int>(rooms.width); ++mx) {
      bool near = false;
      for (int dy = -reach; dy <= reach && !near; ++dy) {
        for (int dx = -reach; dx <= reach && !near; ++dx) {
          const int x = mx + dx;
          const int y = my + dy;
          if (dx * dx + dy * dy > reach * reach) {
            continue;
          }
          const bool outside = x < 0 || y < 0 || x >= static_cast<int>(rooms.width) ||
                               y >= static_cast<int>(rooms.height);
          const double wx = (x + 0.5) * 0.05;
          const double wy = (y + 0.5) * 0.05;
          const bool keepout = wx >= 6.0 && wx < 7.5 && wy >= 0.8 && wy < 2.0;
          near = outside || keepout || rooms.at(x, y) != 0;
        }
      }
      if (!near) {
        ++far_cells;
        ASSERT_EQ(PixelAt(image, mx, my), kFreePixel) << "far cell " << mx << ", " << my;
      }
    }
  }
  EXPECT_GT(far_cells, 3000u);
}

// --- failures ------------------------------------------------------------------------

TEST(CostmapHost, FailuresEndNonZeroNamingTheProblemAndLeaveNoFiles)
{
  TemporaryFolder folder;
  const std::string params = folder.path() + "/broken_params.yaml";
  std::ofstream(params) << "costmap:\n  costmap:\n    ros__parameters: [unclosed\n";
  struct Failure
  {
    std::vector<std::string> args;
    std::vector<std::string> said;  // in the output, in any order
    std::string never_reached;      // a step that must not show
  };
  const std::vector<Failure> failures{
    {{"--ros-args", "--params-file", params}, {"broken_params.yaml"}, "configure:"},
    {{"--ros-args", "-p", "static_layer.plugin:=kestrune_example_layers/NoSuchLayer"},
     {"kestrune_example_layers/NoSuchLayer", "configure: error",
      "the configure transition of '/costmap/costmap' did not succeed"},
     "activate:"},
    {{"--ros-args", "-p", "static_layer.map_file:=/nonexistent/floor.yaml"},
     {"/nonexistent/floor.yaml", "configure: error"},
     "activate:"},
    // A layer listed without its type: Nav2 would end the process.
    {{"--ros-args", "-p", "filters:=[keepout_filter, untyped]"},
     {"\"untyped\" in parameter 'filters' has no plugin type", "configure: error"},
     "activate:"},
  };
  for (const auto & failure : failures) {
    const std::string output = folder.path() + "/out";
    std::vector<std::string> args{"--output", output};
    args.insert(args.end(), failure.args.begin(), failure.args.end());
    const RunResult run = RunHost(args);
    EXPECT_NE(run.exit_code, 0) << failure.said.front();
    for (const auto & text : failure.said) {
      EXPECT_TRUE(Contains(run.output, text)) << "no '" << text << "' in\n" << run.output;
    }
    EXPECT_FALSE(Contains(run.output, failure.never_reached)) << run.output;
    EXPECT_TRUE(FilesIn(output).empty());
  }

  // The output folder is checked before anything runs.
  const RunResult run = RunHost({"--output", "/proc/forbidden"});
  EXPECT_NE(run.exit_code, 0);
  EXPECT_TRUE(Contains(run.output, "'/proc/forbidden'")) << run.output;
  EXPECT_FALSE(Contains(run.output, "configure")) << run.output;
}

}  // namespace
