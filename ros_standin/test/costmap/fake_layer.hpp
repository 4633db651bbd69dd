#ifndef COSTMAP__FAKE_LAYER_HPP_
#define COSTMAP__FAKE_LAYER_HPP_

// Helpers shared by the costmap tests.

#include <algorithm>
#include <future>
#include <string>
#include <vector>

#include "geometry_msgs/msg/point.hpp"
#include "nav2_costmap_2d/costmap_2d.hpp"
#include "nav2_costmap_2d/layer.hpp"
#include "nav2_costmap_2d/layered_costmap.hpp"

namespace costmap_test
{

using geometry_msgs::msg::Point;
using nav2_costmap_2d::Costmap2D;
using nav2_costmap_2d::LayeredCostmap;

inline Point MakePoint(double x, double y)
{
  Point p;
  p.x = x;
  p.y = y;
  return p;
}

/// A layer that records what the layered costmap does to it.
class FakeLayer : public nav2_costmap_2d::Layer
{
public:
  FakeLayer(
    LayeredCostmap * parent, const std::string & name, std::vector<std::string> & events,
    unsigned char cost)
  : events_(events),
    cost_(cost)
  {
    layered_costmap_ = parent;
    name_ = name;
    enabled_ = true;
    current_ = true;
  }

  void setEnabled(bool enabled) { enabled_ = enabled; }

  void reset() override { events_.push_back(name_ + " reset"); }
  bool isClearable() override { return false; }
  void matchSize() override { events_.push_back(name_ + " matchSize"); }
  void onFootprintChanged() override { events_.push_back(name_ + " onFootprintChanged"); }

  void updateBounds(
    double robot_x, double robot_y, double, double * min_x, double * min_y, double * max_x,
    double * max_y) override
  {
    events_.push_back(name_ + " updateBounds" + (lockedElsewhere() ? " locked" : " unlocked"));
    *min_x = std::min(*min_x, robot_x);
    *min_y = std::min(*min_y, robot_y);
    *max_x = std::max(*max_x, robot_x);
    *max_y = std::max(*max_y, robot_y);
  }

  void updateCosts(Costmap2D & master_grid, int min_i, int min_j, int, int) override
  {
    events_.push_back(
      name_ + " updateCosts " + std::to_string(master_grid.getCost(min_i, min_j)) +
      (&master_grid == layered_costmap_->getCostmap() ? " combined" : " primary"));
    master_grid.setCost(min_i, min_j, cost_);
  }

private:
  bool lockedElsewhere()
  {
    auto * mutex = layered_costmap_->getCostmap()->getMutex();
    return std::async(
             std::launch::async,
             [mutex]() {
               if (mutex->try_lock()) {
                 mutex->unlock();
                 return false;
               }
               return true;
             })
      .get();
  }

  std::vector<std::string> & events_;
  unsigned char cost_;
};

}  // namespace costmap_test

#endif  // COSTMAP__FAKE_LAYER_HPP_
