// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "map_io.hpp"

#include <yaml-cpp/yaml.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kestrune_example_layers
{

namespace
{

std::string quoted(const std::string & text)
{
  return "'" + text + "'";
}

/// Reads the PGM header and the plain-format raster one token at a time,
/// skipping whitespace and '#' comments as netpbm does.
class PgmScanner
{
public:
  PgmScanner(const std::string & bytes, const std::string & name)
  : bytes_(bytes),
    name_(name)
  {
  }

  /// The next unsigned decimal number; @p what names it in errors.
  std::uint64_t number(const char * what)
  {
    skipSpaceAndComments();
    if (pos_ >= bytes_.size()) {
      throw MapIoError(name_, std::string("PGM data ends before the ") + what);
    }
    const std::size_t start = pos_;
    std::uint64_t value = 0;
    while (pos_ < bytes_.size() && isDigit(bytes_[pos_])) {
      value = value * 10 + static_cast<std::uint64_t>(bytes_[pos_] - '0');
      if (value > 0xffffffffULL) {
        throw MapIoError(name_, std::string("PGM ") + what + " is too large");
      }
      ++pos_;
    }
    if (pos_ == start || (pos_ < bytes_.size() && !isSpace(bytes_[pos_]) && bytes_[pos_] != '#')) {
      std::size_t end = pos_;
      while (end < bytes_.size() && !isSpace(bytes_[end]) && end - start < 16) {
        ++end;
      }
      throw MapIoError(
        name_, std::string("PGM ") + what + " " + quoted(bytes_.substr(start, end - start)) +
                 " is not a number");
    }
    return value;
  }

  /// True when only whitespace and comments are left.
  bool atEnd()
  {
    skipSpaceAndComments();
    return pos_ >= bytes_.size();
  }

  /// Position after the single whitespace byte that ends a binary header.
  std::size_t rasterStart()
  {
    if (pos_ >= bytes_.size() || !isSpace(bytes_[pos_])) {
      throw MapIoError(name_, "PGM header is not followed by whitespace before the pixel data");
    }
    return pos_ + 1;
  }

  void skip(std::size_t count) { pos_ += count; }

private:
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }
  static bool isSpace(char c)
  {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
  }

  void skipSpaceAndComments()
  {
    while (pos_ < bytes_.size()) {
      if (isSpace(bytes_[pos_])) {
        ++pos_;
      } else if (bytes_[pos_] == '#') {
        while (pos_ < bytes_.size() && bytes_[pos_] != '\n' && bytes_[pos_] != '\r') {
          ++pos_;
        }
      } else {
        return;
      }
    }
  }

  const std::string & bytes_;
  const std::string & name_;
  std::size_t pos_{0};
};

void checkPixel(
  std::uint64_t value, unsigned int maxval, std::size_t index, unsigned int width,
  const std::string & name)
{
  if (value > maxval) {
    throw MapIoError(
      name, "pixel (" + std::to_string(index % width) + ", " + std::to_string(index / width) +
              ") is " + std::to_string(value) + ", above the maxval " + std::to_string(maxval));
  }
}

double finiteNumber(const YAML::Node & node, const std::string & key, const std::string & path)
{
  double value = 0.0;
  try {
    if (!node.IsScalar()) {
      throw MapIoError(path, key + " is not a number");
    }
    value = node.as<double>();
  } catch (const YAML::Exception &) {
    throw MapIoError(path, key + " " + quoted(node.Scalar()) + " is not a number");
  }
  if (!std::isfinite(value)) {
    throw MapIoError(path, key + " " + quoted(node.Scalar()) + " is not a finite number");
  }
  return value;
}

double threshold(
  const YAML::Node & root, const std::string & key, double fallback, const std::string & path)
{
  if (!root[key]) {
    return fallback;
  }
  const double value = finiteNumber(root[key], key, path);
  if (value < 0.0 || value > 1.0) {
    throw MapIoError(path, key + " is " + root[key].Scalar() + ", outside [0, 1]");
  }
  return value;
}

bool negateFlag(const YAML::Node & node, const std::string & path)
{
  const std::string text = node.IsScalar() ? node.Scalar() : std::string();
  if (text == "0" || text == "false") {
    return false;
  }
  if (text == "1" || text == "true") {
    return true;
  }
  throw MapIoError(path, "negate " + quoted(text) + " is neither 0 nor 1");
}

MapMode modeFromText(const std::string & text, const std::string & path)
{
  if (text == "trinary") {
    return MapMode::Trinary;
  }
  if (text == "scale") {
    return MapMode::Scale;
  }
  if (text == "raw") {
    return MapMode::Raw;
  }
  throw MapIoError(path, "unknown mode " + quoted(text) + " (expected trinary, scale or raw)");
}

void checkMetadata(const MapMetadata & metadata, const std::string & path)
{
  if (!std::isfinite(metadata.resolution) || metadata.resolution <= 0.0) {
    throw MapIoError(
      path,
      "resolution " + std::to_string(metadata.resolution) + " is not a finite number above zero");
  }
  if (
    !std::isfinite(metadata.origin_x) || !std::isfinite(metadata.origin_y) ||
    !std::isfinite(metadata.origin_yaw)) {
    throw MapIoError(path, "origin is not finite");
  }
  if (!(metadata.free_thresh < metadata.occupied_thresh)) {
    throw MapIoError(
      path, "free_thresh " + std::to_string(metadata.free_thresh) +
              " is not below occupied_thresh " + std::to_string(metadata.occupied_thresh));
  }
}

}  // namespace

MapIoError::MapIoError(const std::string & file, const std::string & problem)
: std::runtime_error(quoted(file) + ": " + problem),
  file_(file)
{
}

bool OccupancyMap::worldToCell(double wx, double wy, unsigned int & mx, unsigned int & my) const
{
  const double dx = wx - origin_x;
  const double dy = wy - origin_y;
  const double c = std::cos(origin_yaw);
  const double s = std::sin(origin_yaw);
  const double cx = std::floor((c * dx + s * dy) / resolution);
  const double cy = std::floor((-s * dx + c * dy) / resolution);
  // Also false for NaN, which fails every comparison.
  if (!(cx >= 0.0 && cy >= 0.0 && cx < width && cy < height)) {
    return false;
  }
  mx = static_cast<unsigned int>(cx);
  my = static_cast<unsigned int>(cy);
  return true;
}

std::string readFile(const std::string & path)
{
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    throw MapIoError(path, "is a folder, not a file");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw MapIoError(path, std::string("cannot open: ") + std::strerror(errno));
  }
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) {
    throw MapIoError(path, "read error");
  }
  return content.str();
}

PgmImage parsePgm(const std::string & bytes, const std::string & name)
{
  if (bytes.size() < 2 || bytes[0] != 'P' || (bytes[1] != '5' && bytes[1] != '2')) {
    throw MapIoError(name, "not a PGM image (expected the magic number P5 or P2)");
  }
  const bool binary = bytes[1] == '5';
  PgmScanner scanner(bytes, name);
  scanner.skip(2);

  PgmImage image;
  const std::uint64_t width = scanner.number("width");
  const std::uint64_t height = scanner.number("height");
  const std::uint64_t maxval = scanner.number("maxval");
  if (width == 0 || height == 0) {
    throw MapIoError(
      name, "PGM size " + std::to_string(width) + "x" + std::to_string(height) + " has no pixels");
  }
  if (width * height > kMaxMapPixels) {
    throw MapIoError(
      name, "PGM size " + std::to_string(width) + "x" + std::to_string(height) +
              " is larger than " + std::to_string(kMaxMapPixels) + " pixels");
  }
  if (maxval == 0 || maxval > 65535) {
    throw MapIoError(name, "PGM maxval " + std::to_string(maxval) + " is outside 1..65535");
  }
  image.width = static_cast<unsigned int>(width);
  image.height = static_cast<unsigned int>(height);
  image.maxval = static_cast<unsigned int>(maxval);
  const std::size_t count = static_cast<std::size_t>(width * height);
  image.pixels.resize(count);

  if (binary) {
    const std::size_t start = scanner.rasterStart();
    const std::size_t bytes_per_pixel = maxval < 256 ? 1 : 2;
    const std::size_t needed = count * bytes_per_pixel;
    const std::size_t available = bytes.size() - start;
    if (available < needed) {
      throw MapIoError(
        name, "PGM pixel data is truncated: " + std::to_string(needed) + " bytes expected, " +
                std::to_string(available) + " found");
    }
    const auto * raster = reinterpret_cast<const unsigned char *>(bytes.data() + start);
    for (std::size_t i = 0; i < count; ++i) {
      // 16-bit samples are big-endian, most significant byte first.
      const std::uint64_t value =
        bytes_per_pixel == 1 ? raster[i] : (std::uint64_t{raster[2 * i]} << 8) | raster[2 * i + 1];
      checkPixel(value, image.maxval, i, image.width, name);
      image.pixels[i] = static_cast<std::uint16_t>(value);
    }
  } else {
    for (std::size_t i = 0; i < count; ++i) {
      if (scanner.atEnd()) {
        throw MapIoError(
          name, "PGM pixel data is truncated: " + std::to_string(count) + " values expected, " +
                  std::to_string(i) + " found");
      }
      const std::uint64_t value = scanner.number("pixel value");
      checkPixel(value, image.maxval, i, image.width, name);
      image.pixels[i] = static_cast<std::uint16_t>(value);
    }
  }
  return image;
}

PgmImage readPgm(const std::string & path)
{
  return parsePgm(readFile(path), path);
}

MapMetadata parseMapMetadata(const std::string & yaml_text, const std::string & path)
{
  YAML::Node root;
  try {
    root = YAML::Load(yaml_text);
  } catch (const YAML::Exception & e) {
    throw MapIoError(path, std::string("not valid YAML: ") + e.what());
  }
  if (!root.IsMap()) {
    throw MapIoError(path, "is not a YAML map of map properties");
  }

  MapMetadata metadata;
  try {
    const YAML::Node image = root["image"];
    if (!image || !image.IsScalar() || image.Scalar().empty()) {
      throw MapIoError(path, "has no image file name");
    }
    std::filesystem::path image_path(image.Scalar());
    if (image_path.is_relative()) {
      image_path = std::filesystem::path(path).parent_path() / image_path;
    }
    metadata.image = image_path.string();

    if (!root["resolution"]) {
      throw MapIoError(path, "has no resolution");
    }
    metadata.resolution = finiteNumber(root["resolution"], "resolution", path);
    if (metadata.resolution <= 0.0) {
      throw MapIoError(path, "resolution " + root["resolution"].Scalar() + " is not above zero");
    }

    const YAML::Node origin = root["origin"];
    if (!origin || !origin.IsSequence() || origin.size() != 3) {
      throw MapIoError(path, "origin is not a list of three numbers [x, y, yaw]");
    }
    metadata.origin_x = finiteNumber(origin[0], "origin x", path);
    metadata.origin_y = finiteNumber(origin[1], "origin y", path);
    metadata.origin_yaw = finiteNumber(origin[2], "origin yaw", path);

    if (root["negate"]) {
      metadata.negate = negateFlag(root["negate"], path);
    }
    metadata.occupied_thresh = threshold(root, "occupied_thresh", metadata.occupied_thresh, path);
    metadata.free_thresh = threshold(root, "free_thresh", metadata.free_thresh, path);
    if (root["mode"]) {
      if (!root["mode"].IsScalar()) {
        throw MapIoError(path, "mode is not a word");
      }
      metadata.mode = modeFromText(root["mode"].Scalar(), path);
    }
  } catch (const YAML::Exception & e) {
    // Lookups on malformed nodes (aliases, odd nesting) end here rather than escape.
    throw MapIoError(path, std::string("unreadable map properties: ") + e.what());
  }
  checkMetadata(metadata, path);
  return metadata;
}

MapMetadata readMapMetadata(const std::string & path)
{
  return parseMapMetadata(readFile(path), path);
}

OccupancyMap toOccupancyMap(const PgmImage & image, const MapMetadata & metadata)
{
  checkMetadata(metadata, metadata.image);
  if (
    image.width == 0 || image.height == 0 || image.maxval == 0 ||
    image.pixels.size() != std::size_t{image.width} * image.height) {
    throw MapIoError(
      metadata.image, "image has no pixels or a pixel count that does not match its size");
  }

  OccupancyMap map;
  map.width = image.width;
  map.height = image.height;
  map.resolution = metadata.resolution;
  map.origin_x = metadata.origin_x;
  map.origin_y = metadata.origin_y;
  map.origin_yaw = metadata.origin_yaw;
  map.data.resize(image.pixels.size());

  for (unsigned int row = 0; row < image.height; ++row) {
    // Image rows run top-down, grid rows bottom-up from the origin.
    const unsigned int my = image.height - 1 - row;
    for (unsigned int mx = 0; mx < image.width; ++mx) {
      const double shade =
        static_cast<double>(image.pixels[std::size_t{row} * image.width + mx]) / image.maxval;
      const double occ = metadata.negate ? shade : 1.0 - shade;
      std::int8_t value = -1;
      switch (metadata.mode) {
        case MapMode::Trinary:
          value = static_cast<std::int8_t>(
            metadata.occupied_thresh < occ ? 100 : (occ < metadata.free_thresh ? 0 : -1));
          break;
        case MapMode::Scale:
          if (metadata.occupied_thresh < occ) {
            value = 100;
          } else if (occ < metadata.free_thresh) {
            value = 0;
          } else {
            value = static_cast<std::int8_t>(std::rint(
              (occ - metadata.free_thresh) / (metadata.occupied_thresh - metadata.free_thresh) *
              100.0));
          }
          break;
        case MapMode::Raw: {
          const double percent = std::round(shade * 255.0);
          value = static_cast<std::int8_t>(percent <= 100.0 ? percent : -1.0);
          break;
        }
      }
      map.data[std::size_t{my} * map.width + mx] = value;
    }
  }
  return map;
}

OccupancyMap loadMap(const std::string & yaml_path)
{
  const MapMetadata metadata = readMapMetadata(yaml_path);
  return toOccupancyMap(readPgm(metadata.image), metadata);
}

}  // namespace kestrune_example_layers
