// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// A PGM image as the example static layer reads it (P5 or P2). Every input must
// end in an image whose pixels match its size and maxval, or in a MapIoError;
// anything else is a bug. Images that pass become maps in each of map_server's
// modes, which must hold only occupancy values.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_checks.hpp"
#include "map_io.hpp"

namespace
{

using kestrune_example_layers::MapIoError;
using kestrune_example_layers::MapMetadata;
using kestrune_example_layers::MapMode;
using kestrune_example_layers::PgmImage;
using kestrune_fuzz::Check;
using kestrune_fuzz::CheckOccupancy;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t * data, std::size_t size)
{
  const std::string bytes(reinterpret_cast<const char *>(data), size);
  PgmImage image;
  try {
    image = kestrune_example_layers::parsePgm(bytes, "fuzz.pgm");
  } catch (const MapIoError &) {
    return 0;
  }
  Check(image.width > 0 && image.height > 0 && image.maxval > 0 && image.maxval <= 65535);
  Check(image.pixels.size() == std::size_t{image.width} * image.height);
  for (const auto pixel : image.pixels) {
    Check(pixel <= image.maxval);
  }

  MapMetadata metadata;
  metadata.image = "fuzz.pgm";
  metadata.resolution = 0.05;
  for (const MapMode mode : {MapMode::Trinary, MapMode::Scale, MapMode::Raw}) {
    for (const bool negate : {false, true}) {
      metadata.mode = mode;
      metadata.negate = negate;
      CheckOccupancy(kestrune_example_layers::toOccupancyMap(image, metadata), image.pixels.size());
    }
  }
  return 0;
}
