// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// The demo's map loader reads files from outside the program: every malformed
// input must end in a MapIoError that names the file and the problem.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "map_io.hpp"

namespace
{

using kestrune_example_layers::loadMap;
using kestrune_example_layers::MapIoError;
using kestrune_example_layers::MapMetadata;
using kestrune_example_layers::MapMode;
using kestrune_example_layers::OccupancyMap;
using kestrune_example_layers::parseMapMetadata;
using kestrune_example_layers::parsePgm;
using kestrune_example_layers::PgmImage;
using kestrune_example_layers::readPgm;
using kestrune_example_layers::toOccupancyMap;

const char * const kGoodYaml =
  "image: map.pgm\nresolution: 0.5\norigin: [1.0, 2.0, 0.0]\n"
  "negate: 0\noccupied_thresh: 0.65\nfree_thresh: 0.196\nmode: trinary\n";

class MapFiles : public ::testing::Test
{
protected:
  void SetUp() override
  {
    char pattern[] = "/tmp/kestrune_map_io_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }

  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string write(const std::string & name, const std::string & content)
  {
    std::string path = dir_ + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  std::string dir_;
};

/// The message of the MapIoError that @p load throws; fails the test when it throws none.
template<typename Load>
std::string errorOf(Load load)
{
  try {
    load();
  } catch (const MapIoError & e) {
    return e.what();
  }
  ADD_FAILURE() << "no MapIoError thrown";
  return {};
}

/// Whether @p text contains @p part; the failure message shows the whole text.
::testing::AssertionResult Mentions(const std::string & text, const std::string & part)
{
  if (text.find(part) != std::string::npos) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "'" << text << "' does not mention '" << part << "'";
}

std::string errorOfPgm(const std::string & bytes)
{
  return errorOf([&] { parsePgm(bytes, "test.pgm"); });
}

std::string errorOfYaml(const std::string & text)
{
  return errorOf([&] { parseMapMetadata(text, "/maps/test.yaml"); });
}

// --- images ---------------------------------------------------------------------

TEST(Pgm, BinaryImageWithCommentsIsReadTopRowFirst)
{
  const PgmImage image = parsePgm(
    std::string("P5\n# made by hand\n3 2\n# max\n255\n") +
      std::string("\x00\x10\x20\x30\x40\xff", 6),
    "a.pgm");
  EXPECT_EQ(image.width, 3u);
  EXPECT_EQ(image.height, 2u);
  EXPECT_EQ(image.maxval, 255u);
  EXPECT_EQ(image.pixels, (std::vector<std::uint16_t>{0x00, 0x10, 0x20, 0x30, 0x40, 0xff}));
}

TEST(Pgm, PlainImagesAndSixteenBitBigEndianSamplesAreRead)
{
  EXPECT_EQ(
    parsePgm("P2 2 2 15\n0 15\n7 # comment\n 3\n", "a.pgm").pixels,
    (std::vector<std::uint16_t>{0, 15, 7, 3}));
  EXPECT_EQ(
    parsePgm(std::string("P5 2 1 65535\n") + std::string("\x01\x02\xff\xff", 4), "a.pgm").pixels,
    (std::vector<std::uint16_t>{0x0102, 0xffff}));
}

TEST(Pgm, MalformedImagesAreRefusedNamingTheProblem)
{
  const std::vector<std::pair<std::string, std::string>> cases{
    {"P6 1 1 255\n\x01\x02\x03", "not a PGM image"},
    {"", "'test.pgm'"},
    {"GIF89a", "magic number"},
    {"P5 abc 2 255\n", "width 'abc' is not a number"},
    {"P5 2 -2 255\n", "height '-2' is not a number"},
    {"P5 2 2 25x\n", "maxval '25x' is not a number"},
    {"P5 2 2", "ends before the maxval"},
    {"P5 99999999999 1 255\n", "width is too large"},
    {"P5 0 4 255\n", "size 0x4 has no pixels"},
    {"P2 4 0 255\n", "size 4x0 has no pixels"},
    {"P5 100000 100000 255\n", "is larger than"},
    {std::string("P5 1 1 0\n\x00", 10), "maxval 0 is outside 1..65535"},
    {std::string("P5 1 1 65536\n\x00\x00", 15), "maxval 65536"},
    {"P5 3 3 255\n\x01\x02", "truncated: 9 bytes expected, 2 found"},
    {"P5 2 1 1000\n\x01\x02\x03", "truncated: 4 bytes expected, 3 found"},
    {"P2 2 2 255\n1 2 3", "truncated: 4 values expected, 3 found"},
    {"P5 1 1 255", "not followed by whitespace"},
    {"P5 2 1 100\n\x10\xc8", "pixel (1, 0) is 200, above the maxval 100"},
    {"P2 2 2 10\n1 2\n11 3", "pixel (0, 1) is 11, above the maxval 10"},
    {"P2 1 1 10\n-1", "pixel value '-1' is not a number"},
  };
  for (const auto & [bytes, problem] : cases) {
    EXPECT_TRUE(Mentions(errorOfPgm(bytes), problem));
  }
}

// --- map YAML -------------------------------------------------------------------

TEST(MapYaml, FieldsAreReadAndTheImageIsFoundNextToTheYaml)
{
  const MapMetadata metadata = parseMapMetadata(kGoodYaml, "/maps/floor/test.yaml");
  EXPECT_EQ(metadata.image, "/maps/floor/map.pgm");
  EXPECT_DOUBLE_EQ(metadata.resolution, 0.5);
  EXPECT_DOUBLE_EQ(metadata.origin_x, 1.0);
  EXPECT_DOUBLE_EQ(metadata.origin_y, 2.0);
  EXPECT_FALSE(metadata.negate);
  EXPECT_DOUBLE_EQ(metadata.free_thresh, 0.196);
  EXPECT_EQ(metadata.mode, MapMode::Trinary);

  const MapMetadata absolute = parseMapMetadata(
    "image: /elsewhere/m.pgm\nresolution: 1\norigin: [0, 0, 0]\nmode: scale\nnegate: 1\n",
    "/maps/t.yaml");
  EXPECT_EQ(absolute.image, "/elsewhere/m.pgm");
  EXPECT_EQ(absolute.mode, MapMode::Scale);
  EXPECT_TRUE(absolute.negate);
  EXPECT_DOUBLE_EQ(absolute.occupied_thresh, 0.65);
}

TEST(MapYaml, MalformedMetadataIsRefusedNamingTheProblem)
{
  const std::string origin = "image: m.pgm\norigin: [0, 0, 0]\nresolution: ";
  const std::string resolution = "image: m.pgm\nresolution: 1\norigin: ";
  const std::string head = "image: m.pgm\nresolution: 1\norigin: [0, 0, 0]\n";
  const std::vector<std::pair<std::string, std::string>> cases{
    {"image: [unclosed\n", "not valid YAML"},
    {"- a\n- b\n", "not a YAML map"},
    {"", "'/maps/test.yaml'"},
    {"resolution: 1\norigin: [0, 0, 0]\n", "has no image"},
    {"image: ''\nresolution: 1\norigin: [0, 0, 0]\n", "has no image"},
    {"image: m.pgm\norigin: [0, 0, 0]\n", "has no resolution"},
    {"image: m.pgm\nresolution: 1\n", "origin is not a list of three"},
    {origin + "fine\n", "resolution 'fine' is not a number"},
    {origin + ".nan\n", "is not a finite number"},
    {origin + ".inf\n", "is not a finite number"},
    {origin + "0\n", "resolution 0 is not above zero"},
    {origin + "-0.05\n", "is not above zero"},
    {origin + "[1, 2]\n", "resolution is not a number"},
    {resolution + "[0, 0]\n", "list of three numbers"},
    {resolution + "5\n", "list of three numbers"},
    {resolution + "[0, north, 0]\n", "origin y 'north' is not a number"},
    {resolution + "[0, 0, .inf]\n", "origin yaw '.inf' is not a finite"},
    {head + "negate: 2\n", "negate '2' is neither 0 nor 1"},
    {head + "occupied_thresh: 1.5\n", "occupied_thresh is 1.5, outside [0, 1]"},
    {head + "free_thresh: -0.1\n", "free_thresh is -0.1, outside [0, 1]"},
    {head + "free_thresh: .nan\n", "not a finite number"},
    {head + "free_thresh: 0.7\n", "is not below occupied_thresh"},
    {head + "mode: fancy\n", "unknown mode 'fancy'"},
    {head + "mode: [trinary]\n", "mode is not a word"},
  };
  for (const auto & [text, problem] : cases) {
    EXPECT_TRUE(Mentions(errorOfYaml(text), problem));
  }
}

TEST_F(MapFiles, MissingMapAndImageFilesAreNamed)
{
  const std::string no_pgm = errorOf([&] { readPgm(dir_ + "/nowhere.pgm"); });
  EXPECT_TRUE(Mentions(no_pgm, dir_ + "/nowhere.pgm': cannot open: No such file or directory"));
  EXPECT_TRUE(Mentions(errorOf([&] { readPgm(dir_); }), "is a folder"));

  const std::string missing = errorOf([&] { loadMap(dir_ + "/absent.yaml"); });
  EXPECT_TRUE(Mentions(missing, dir_ + "/absent.yaml"));

  const std::string yaml = write("map.yaml", kGoodYaml);
  const std::string no_image = errorOf([&] { loadMap(yaml); });
  EXPECT_TRUE(Mentions(no_image, dir_ + "/map.pgm"));
  EXPECT_TRUE(Mentions(no_image, "cannot open"));

  write("map.pgm", "P5 2 2 255\n\x01");
  EXPECT_TRUE(
    Mentions(errorOf([&] { loadMap(yaml); }), dir_ + "/map.pgm': PGM pixel data is truncated"));
}

// --- occupancy ------------------------------------------------------------------

TEST_F(MapFiles, TrinaryMapFlipsRowsAndAppliesThresholds)
{
  // Top row: occupied, unknown (205); bottom row: free (254), free.
  write("map.pgm", std::string("P5 2 2 255\n") + std::string("\x00\xcd\xfe\xff", 4));
  const OccupancyMap map = loadMap(write("map.yaml", kGoodYaml));
  EXPECT_EQ(map.width, 2u);
  EXPECT_DOUBLE_EQ(map.origin_x, 1.0);
  EXPECT_EQ(map.at(0, 1), 100);
  EXPECT_EQ(map.at(1, 1), -1);
  EXPECT_EQ(map.at(0, 0), 0);
  EXPECT_EQ(map.at(1, 0), 0);
}

TEST(Occupancy, NegateScaleAndRawModesFollowMapServer)
{
  PgmImage image;
  image.width = 4;
  image.height = 1;
  image.maxval = 255;
  image.pixels = {0, 128, 255, 40};
  MapMetadata metadata;
  metadata.image = "m.pgm";
  metadata.resolution = 1.0;

  metadata.negate = true;
  EXPECT_EQ(toOccupancyMap(image, metadata).data, (std::vector<std::int8_t>{0, -1, 100, 0}));

  metadata.negate = false;
  metadata.mode = MapMode::Scale;
  // 128 -> occ 0.498: (0.498 - 0.25) / (0.65 - 0.25) * 100 = 62
  EXPECT_EQ(toOccupancyMap(image, metadata).data, (std::vector<std::int8_t>{100, 62, 0, 100}));

  metadata.mode = MapMode::Raw;
  EXPECT_EQ(toOccupancyMap(image, metadata).data, (std::vector<std::int8_t>{0, -1, -1, 40}));
}

TEST(Occupancy, ImageAndMetadataAreCheckedAgain)
{
  PgmImage image;
  image.width = 2;
  image.height = 2;
  image.maxval = 255;
  image.pixels = {0, 0, 0};
  MapMetadata metadata;
  metadata.image = "m.pgm";
  metadata.resolution = 1.0;
  EXPECT_TRUE(
    Mentions(errorOf([&] { toOccupancyMap(image, metadata); }), "does not match its size"));
  image.pixels.push_back(0);
  metadata.resolution = std::nan("");
  EXPECT_TRUE(
    Mentions(errorOf([&] { toOccupancyMap(image, metadata); }), "not a finite number above zero"));
}

TEST(Occupancy, WorldToCellFollowsOriginAndYaw)
{
  OccupancyMap map;
  map.width = 4;
  map.height = 2;
  map.resolution = 0.5;
  map.origin_x = 1.0;
  map.origin_y = -1.0;
  unsigned int mx = 9;
  unsigned int my = 9;
  ASSERT_TRUE(map.worldToCell(1.1, -0.9, mx, my));
  EXPECT_EQ(mx, 0u);
  EXPECT_EQ(my, 0u);
  ASSERT_TRUE(map.worldToCell(2.9, -0.1, mx, my));
  EXPECT_EQ(mx, 3u);
  EXPECT_EQ(my, 1u);
  EXPECT_FALSE(map.worldToCell(0.9, -0.9, mx, my));
  EXPECT_FALSE(map.worldToCell(3.1, -0.9, mx, my));
  EXPECT_FALSE(map.worldToCell(std::nan(""), 0.0, mx, my));

  // Turned a quarter left about the origin: the map's x axis points along world y.
  map.origin_yaw = M_PI / 2;
  ASSERT_TRUE(map.worldToCell(0.9, 0.8, mx, my));
  EXPECT_EQ(mx, 3u);
  EXPECT_EQ(my, 0u);
  EXPECT_FALSE(map.worldToCell(2.0, -0.5, mx, my));
}

}  // namespace
