// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "costmap_writer.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "fmt/format.h"

namespace kestrune_costmap_host
{

namespace fs = std::filesystem;

namespace
{

// The trinary levels and map_saver's thresholds, which the YAML declares.
constexpr std::uint8_t kOccupiedPixel = 0;
constexpr std::uint8_t kFreePixel = 254;
constexpr std::uint8_t kUnknownPixel = 128;
constexpr int kOccupiedPercent = 65;
constexpr int kFreePercent = 25;

std::runtime_error fileError(const std::string & what, const std::string & path, int error)
{
  return std::runtime_error(fmt::format("cannot {} '{}': {}", what, path, std::strerror(error)));
}

/// A file under a temporary name in the target folder; removed unless committed.
class TemporaryFile
{
public:
  explicit TemporaryFile(const fs::path & target)
  : target_(target)
  {
    std::string pattern =
      (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    fd_ = mkstemp(pattern.data());
    if (fd_ < 0) {
      throw fileError("create a temporary file for", target.string(), errno);
    }
    path_ = pattern;
  }

  TemporaryFile(const TemporaryFile &) = delete;
  TemporaryFile & operator=(const TemporaryFile &) = delete;

  ~TemporaryFile()
  {
    if (fd_ >= 0) {
      ::close(fd_);
    }
    if (!path_.empty()) {
      ::unlink(path_.c_str());
    }
  }

  void write(const std::string & bytes)
  {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) {
        continue;
      }
      if (n <= 0) {
        throw fileError("write", target_.string(), n < 0 ? errno : EIO);
      }
      done += static_cast<std::size_t>(n);
    }
  }

  /// Flushes and closes; the data is complete under the temporary name.
  void finish()
  {
    // Readable by others like any file the user writes (mkstemp makes it 0600).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
      fd_ = -1;
      throw fileError("write", target_.string(), errno);
    }
    fd_ = -1;
  }

  /// Moves the file to its final name; from then on it is no longer removed.
  void commit()
  {
    if (::rename(path_.c_str(), target_.c_str()) != 0) {
      throw fileError("rename a temporary file to", target_.string(), errno);
    }
    path_.clear();
  }

private:
  fs::path target_;
  std::string path_;
  int fd_{-1};
};

/// Rounded to the micrometre: the costmap publisher works the origin out in single
/// precision, which leaves noise such as -3.7e-10 that says nothing.
double tidy(double value)
{
  return std::round(value * 1e6) / 1e6 + 0.0;  // + 0.0 turns -0 into 0
}

std::string pgmBytes(const nav_msgs::msg::OccupancyGrid & grid)
{
  const unsigned int width = grid.info.width;
  const unsigned int height = grid.info.height;
  std::string bytes = fmt::format(
    "P5\n# CREATOR: costmap_host {:.3f} m/pix\n{} {}\n255\n", grid.info.resolution, width, height);
  const std::size_t header = bytes.size();
  bytes.resize(header + std::size_t{width} * height);
  // Image rows run top-down; grid rows bottom-up.
  for (unsigned int row = 0; row < height; ++row) {
    const std::size_t source = std::size_t{height - 1 - row} * width;
    for (unsigned int col = 0; col < width; ++col) {
      bytes[header + std::size_t{row} * width + col] =
        static_cast<char>(occupancyToPixel(grid.data[source + col]));
    }
  }
  return bytes;
}

}  // namespace

std::uint8_t occupancyToPixel(std::int8_t occupancy)
{
  if (occupancy < 0 || occupancy > 100) {
    return kUnknownPixel;
  }
  if (occupancy >= kOccupiedPercent) {
    return kOccupiedPixel;
  }
  return occupancy <= kFreePercent ? kFreePixel : kUnknownPixel;
}

double originYaw(const nav_msgs::msg::OccupancyGrid & grid)
{
  const auto & q = grid.info.origin.orientation;
  return std::atan2(2.0 * (q.w * q.z + q.x * q.y), 1.0 - 2.0 * (q.y * q.y + q.z * q.z));
}

void checkOutputFolder(const std::string & folder)
{
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    throw std::runtime_error(
      fmt::format("output folder '{}' cannot be created: {}", folder, error.message()));
  }
  if (!fs::is_directory(folder, error)) {
    throw std::runtime_error(fmt::format("output folder '{}' is not a folder", folder));
  }
  std::string probe = (fs::path(folder) / ".costmap_host_probe.XXXXXX").string();
  const int fd = mkstemp(probe.data());
  if (fd < 0) {
    throw std::runtime_error(
      fmt::format("output folder '{}' is not writable: {}", folder, std::strerror(errno)));
  }
  ::close(fd);
  ::unlink(probe.c_str());
}

SavedCostmap saveCostmap(
  const nav_msgs::msg::OccupancyGrid & grid, const std::string & folder, const std::string & stem)
{
  if (grid.data.size() != std::size_t{grid.info.width} * grid.info.height) {
    throw std::runtime_error(fmt::format(
      "costmap has {} cells, not {}x{}", grid.data.size(), grid.info.width, grid.info.height));
  }
  const fs::path image_path = fs::path(folder) / (stem + ".pgm");
  const fs::path yaml_path = fs::path(folder) / (stem + ".yaml");

  TemporaryFile image(image_path);
  image.write(pgmBytes(grid));
  image.finish();

  TemporaryFile yaml(yaml_path);
  yaml.write(fmt::format(
    "image: {}\nmode: trinary\nresolution: {}\norigin: [{}, {}, {}]\nnegate: 0\n"
    "occupied_thresh: {}\nfree_thresh: {}\n",
    image_path.filename().string(), grid.info.resolution, tidy(grid.info.origin.position.x),
    tidy(grid.info.origin.position.y), tidy(originYaw(grid)), kOccupiedPercent / 100.0,
    kFreePercent / 100.0));
  yaml.finish();

  image.commit();
  try {
    yaml.commit();
  } catch (...) {
    // Without its YAML the image is no map: take it back.
    ::unlink(image_path.c_str());
    throw;
  }
  return {image_path.string(), yaml_path.string()};
}

}  // namespace kestrune_costmap_host
