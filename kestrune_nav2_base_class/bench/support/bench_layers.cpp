// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// A layer that does nothing: the costmap benchmarks load it through pluginlib so
// that their figures are the node's and pluginlib's cost, not a layer's.

#include "nav2_costmap_2d/costmap_2d.hpp"
#include "nav2_costmap_2d/layer.hpp"
#include "pluginlib/class_list_macros.hpp"

namespace kestrune_bench_layers
{

class NoOpLayer : public nav2_costmap_2d::Layer
{
public:
  void reset() override {}
  bool isClearable() override { return false; }
  void updateBounds(double, double, double, double *, double *, double *, double *) override {}
  void updateCosts(nav2_costmap_2d::Costmap2D &, int, int, int, int) override {}

protected:
  void onInitialize() override
  {
    current_ = true;
    enabled_ = true;
  }
};

}  // namespace kestrune_bench_layers

PLUGINLIB_EXPORT_CLASS(kestrune_bench_layers::NoOpLayer, nav2_costmap_2d::Layer)
