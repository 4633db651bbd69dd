// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_EXAMPLE_LAYERS__MAP_IO_HPP_
#define KESTRUNE_EXAMPLE_LAYERS__MAP_IO_HPP_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrune_example_layers
{

/**
 * @brief A map file that could not be read: the message names the file and the problem.
 *
 * Everything the loader reads comes from outside the program, so every field is
 * checked and every failure ends here rather than in a crash or a silently
 * wrong map.
 */
class MapIoError : public std::runtime_error
{
public:
  /// @brief "<file>: <problem>".
  MapIoError(const std::string & file, const std::string & problem);

  /// @brief The file the problem was found in.
  const std::string & file() const { return file_; }

private:
  std::string file_;
};

/// @brief How pixel values become occupancy values (map_server's modes).
enum class MapMode
{
  Trinary,  ///< occupied, free or unknown, by the two thresholds
  Scale,    ///< as trinary, with values between the thresholds scaled to 1..99
  Raw,      ///< the pixel value is the occupancy value; above 100 is unknown
};

/// @brief A grey-level image as a PGM file holds it; row 0 is the top row.
struct PgmImage
{
  unsigned int width{0};
  unsigned int height{0};
  unsigned int maxval{0};
  std::vector<std::uint16_t> pixels;  ///< width * height values, each <= maxval
};

/// @brief The contents of a map_server-style map YAML file.
struct MapMetadata
{
  std::string image;       ///< image path, resolved against the YAML file's folder
  double resolution{0.0};  ///< metres per pixel
  double origin_x{0.0};    ///< world position of the lower-left pixel's corner
  double origin_y{0.0};
  double origin_yaw{0.0};  ///< rotation of the map about that corner (radians)
  bool negate{false};      ///< white is occupied instead of free
  double occupied_thresh{0.65};
  double free_thresh{0.25};
  MapMode mode{MapMode::Trinary};
};

/**
 * @brief An occupancy grid laid out as nav_msgs/OccupancyGrid lays it out:
 * row-major, row 0 at the origin (the bottom of the image), values 0..100 or
 * -1 for unknown.
 */
struct OccupancyMap
{
  unsigned int width{0};
  unsigned int height{0};
  double resolution{0.0};
  double origin_x{0.0};
  double origin_y{0.0};
  double origin_yaw{0.0};
  std::vector<std::int8_t> data;

  /// @brief The value of cell (@p mx, @p my); the cell must lie inside the map.
  std::int8_t at(unsigned int mx, unsigned int my) const { return data[my * width + mx]; }

  /// @brief The cell holding world point (@p wx, @p wy); false when it lies outside the map.
  bool worldToCell(double wx, double wy, unsigned int & mx, unsigned int & my) const;
};

/// @brief Largest image the loader accepts, in pixels (keeps a hostile header from
/// asking for gigabytes).
constexpr std::uint64_t kMaxMapPixels = std::uint64_t{1} << 26;

/// @brief Parses a binary (P5) or plain (P2) PGM image held in @p bytes;
/// @p name names it in error messages.
PgmImage parsePgm(const std::string & bytes, const std::string & name);

/// @brief Reads and parses the PGM image in file @p path.
PgmImage readPgm(const std::string & path);

/// @brief Parses map YAML text; @p path names it in messages and its folder
/// resolves a relative image path.
MapMetadata parseMapMetadata(const std::string & yaml_text, const std::string & path);

/// @brief Reads and parses the map YAML file @p path.
MapMetadata readMapMetadata(const std::string & path);

/// @brief Turns an image into occupancy values as map_server does for @p metadata's mode.
OccupancyMap toOccupancyMap(const PgmImage & image, const MapMetadata & metadata);

/// @brief Loads the map described by the YAML file @p yaml_path and its image.
OccupancyMap loadMap(const std::string & yaml_path);

/// @brief Reads a whole file; throws MapIoError naming it when that fails.
std::string readFile(const std::string & path);

}  // namespace kestrune_example_layers

#endif  // KESTRUNE_EXAMPLE_LAYERS__MAP_IO_HPP_
