// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// A map YAML file as the example static layer reads it. Every input must end
// in map properties that make sense or in a MapIoError; anything else that
// leaves the loader (another exception, a crash, a sanitizer report) is a bug.
// Properties that pass then turn a fixed image into a map, which must hold
// only occupancy values.

#include <cstddef>
#include <cstdint>
#include <cmath>
#include <string>

#include "fuzz_checks.hpp"
#include "map_io.hpp"

namespace
{

using kestrune_example_layers::MapIoError;
using kestrune_example_layers::MapMetadata;
using kestrune_example_layers::OccupancyMap;
using kestrune_example_layers::PgmImage;
using kestrune_fuzz::Check;
using kestrune_fuzz::CheckOccupancy;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t * data, std::size_t size)
{
  const std::string text(reinterpret_cast<const char *>(data), size);
  MapMetadata metadata;
  try {
    metadata = kestrune_example_layers::parseMapMetadata(text, "/maps/fuzz.yaml");
  } catch (const MapIoError &) {
    return 0;
  }
  Check(!metadata.image.empty());
  Check(std::isfinite(metadata.resolution) && metadata.resolution > 0.0);
  Check(metadata.free_thresh < metadata.occupied_thresh);

  PgmImage image;
  image.width = 4;
  image.height = 3;
  image.maxval = 255;
  image.pixels = {0, 10, 64, 100, 128, 160, 200, 230, 250, 255, 1, 254};
  const OccupancyMap map = kestrune_example_layers::toOccupancyMap(image, metadata);
  CheckOccupancy(map, image.pixels.size());
  unsigned int mx = 0;
  unsigned int my = 0;
  if (map.worldToCell(map.origin_x, map.origin_y, mx, my)) {
    Check(mx < map.width && my < map.height);
  }
  return 0;
}
