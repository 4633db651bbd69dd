// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// What every map loader fuzz target asserts; a failed check is a crash that
// libFuzzer saves with its input.

#ifndef KESTRUNE_EXAMPLES_FUZZ__FUZZ_CHECKS_HPP_
#define KESTRUNE_EXAMPLES_FUZZ__FUZZ_CHECKS_HPP_

#include <cstddef>

#include "map_io.hpp"

namespace kestrune_fuzz
{

inline void Check(bool condition)
{
  if (!condition) {
    __builtin_trap();
  }
}

/// A map of @p cells cells that holds only occupancy values (-1 unknown, 0 to 100).
inline void CheckOccupancy(const kestrune_example_layers::OccupancyMap & map, std::size_t cells)
{
  Check(map.data.size() == cells);
  for (const auto value : map.data) {
    Check(value >= -1 && value <= 100);
  }
}

}  // namespace kestrune_fuzz

#endif  // KESTRUNE_EXAMPLES_FUZZ__FUZZ_CHECKS_HPP_
