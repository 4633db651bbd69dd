// The costmap base the library derives from: footprint parsing, the grid,
// the layered costmap's update order, the costmap publisher's cost
// translation and the parameters Costmap2DROS declares and reads.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <future>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "nav2_costmap_2d/cost_values.hpp"
#include "nav2_costmap_2d/costmap_2d.hpp"
#include "nav2_costmap_2d/costmap_2d_publisher.hpp"
#include "nav2_costmap_2d/costmap_2d_ros.hpp"
#include "nav2_costmap_2d/footprint.hpp"
#include "nav2_costmap_2d/layer.hpp"
#include "nav2_costmap_2d/layered_costmap.hpp"
#include "rclcpp/rclcpp.hpp"

namespace
{

using geometry_msgs::msg::Point;
using nav2_costmap_2d::Costmap2D;
using nav2_costmap_2d::LayeredCostmap;

Point MakePoint(double x, double y)
{
  Point p;
  p.x = x;
  p.y = y;
  return p;
}

// ---------------------------------------------------------------- footprint

TEST(Footprint, ParsesBracketedPairs)
{
  std::vector<Point> footprint;
  ASSERT_TRUE(
    nav2_costmap_2d::makeFootprintFromString(
      "[[0.5, 0.25], [-0.5, 0.25], [-0.5, -0.25],[0.5,-0.25]]", footprint));
  ASSERT_EQ(footprint.size(), 4u);
  EXPECT_DOUBLE_EQ(footprint[0].x, 0.5);
  EXPECT_DOUBLE_EQ(footprint[0].y, 0.25);
  EXPECT_DOUBLE_EQ(footprint[3].x, 0.5);
  EXPECT_DOUBLE_EQ(footprint[3].y, -0.25);
}

TEST(Footprint, RefusesFewerThanThreePoints)
{
  std::vector<Point> footprint;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(nav2_costmap_2d::makeFootprintFromString("[[1, 1], [2, 2]]", footprint));
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("at least three points"), std::string::npos) << log;
  EXPECT_TRUE(footprint.empty());
}

TEST(Footprint, RefusesAWordAndNamesIt)
{
  std::vector<Point> footprint;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(
    nav2_costmap_2d::makeFootprintFromString("[[1, 1], [2, two], [3, 3]]", footprint));
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("'two'"), std::string::npos) << log;
  EXPECT_NE(log.find("[[1, 1], [2, two], [3, 3]]"), std::string::npos) << log;
  // A syntax error stops before any point is taken.
  EXPECT_TRUE(footprint.empty());
}

TEST(Footprint, RefusesAPointThatIsNotAPairAndKeepsThePointsBeforeIt)
{
  std::vector<Point> footprint;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(
    nav2_costmap_2d::makeFootprintFromString(
      "[[1, 1], [2, 2, 2], [3, 3], [4, 4]]", footprint));
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("Found a point with 3 numbers"), std::string::npos) << log;
  ASSERT_EQ(footprint.size(), 1u);
  EXPECT_DOUBLE_EQ(footprint[0].x, 1.0);
}

TEST(Footprint, RefusesAnUnterminatedString)
{
  std::vector<Point> footprint;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(nav2_costmap_2d::makeFootprintFromString("[[1, 1], [2, 2], [3, 3]", footprint));
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("Unterminated"), std::string::npos) << log;
}

TEST(Footprint, RadiusGivesSixteenPointsOnTheCircle)
{
  const auto points = nav2_costmap_2d::makeFootprintFromRadius(0.3);
  ASSERT_EQ(points.size(), 16u);
  for (const auto & p : points) {
    EXPECT_NEAR(std::hypot(p.x, p.y), 0.3, 1e-9);
  }
  EXPECT_NEAR(points[0].x, 0.3, 1e-9);
  EXPECT_NEAR(points[4].y, 0.3, 1e-9);
}

TEST(Footprint, PaddingMovesCoordinatesAwayFromZero)
{
  std::vector<Point> footprint{MakePoint(1.0, -1.0), MakePoint(0.0, 2.0)};
  nav2_costmap_2d::padFootprint(footprint, 0.1);
  EXPECT_DOUBLE_EQ(footprint[0].x, 1.1);
  EXPECT_DOUBLE_EQ(footprint[0].y, -1.1);
  EXPECT_DOUBLE_EQ(footprint[1].x, 0.0);
  EXPECT_DOUBLE_EQ(footprint[1].y, 2.1);
}

TEST(Footprint, PolygonRoundTripAndTransform)
{
  const std::vector<Point> square{
    MakePoint(1, 1), MakePoint(-1, 1), MakePoint(-1, -1), MakePoint(1, -1)};
  auto polygon = std::make_shared<geometry_msgs::msg::Polygon>(nav2_costmap_2d::toPolygon(square));
  ASSERT_EQ(polygon->points.size(), 4u);
  EXPECT_EQ(nav2_costmap_2d::toPointVector(polygon), square);

  std::vector<Point> oriented;
  nav2_costmap_2d::transformFootprint(10.0, 20.0, M_PI / 2, square, oriented);
  ASSERT_EQ(oriented.size(), 4u);
  EXPECT_NEAR(oriented[0].x, 9.0, 1e-9);
  EXPECT_NEAR(oriented[0].y, 21.0, 1e-9);

  double min_dist = 0.0;
  double max_dist = 0.0;
  nav2_costmap_2d::calculateMinAndMaxDistances(square, min_dist, max_dist);
  EXPECT_NEAR(min_dist, 1.0, 1e-9);
  EXPECT_NEAR(max_dist, std::sqrt(2.0), 1e-9);
}

// ---------------------------------------------------------------- Costmap2D

TEST(Costmap2D, ConvertsBetweenWorldAndCells)
{
  Costmap2D grid(10, 20, 0.5, -1.0, 2.0);
  unsigned int mx = 0;
  unsigned int my = 0;
  ASSERT_TRUE(grid.worldToMap(-0.9, 2.1, mx, my));
  EXPECT_EQ(mx, 0u);
  EXPECT_EQ(my, 0u);
  ASSERT_TRUE(grid.worldToMap(3.9, 11.9, mx, my));
  EXPECT_EQ(mx, 9u);
  EXPECT_EQ(my, 19u);
  EXPECT_FALSE(grid.worldToMap(4.0, 3.0, mx, my));
  EXPECT_FALSE(grid.worldToMap(-1.1, 3.0, mx, my));

  double wx = 0.0;
  double wy = 0.0;
  grid.mapToWorld(2, 3, wx, wy);
  EXPECT_DOUBLE_EQ(wx, 0.25);
  EXPECT_DOUBLE_EQ(wy, 3.75);

  int ix = 0;
  int iy = 0;
  grid.worldToMapEnforceBounds(-50.0, 50.0, ix, iy);
  EXPECT_EQ(ix, 0);
  EXPECT_EQ(iy, 19);
  grid.worldToMapNoBounds(-2.0, 1.0, ix, iy);
  EXPECT_EQ(ix, -2);
  EXPECT_EQ(iy, -2);
  EXPECT_EQ(grid.getIndex(3, 2), 23u);
  EXPECT_EQ(grid.cellDistance(1.2), 3u);
}

TEST(Costmap2D, FillsAConvexPolygonAndRefusesOneOffTheGrid)
{
  Costmap2D grid(10, 10, 1.0, 0.0, 0.0);
  const std::vector<Point> square{
    MakePoint(2.5, 2.5), MakePoint(5.5, 2.5), MakePoint(5.5, 5.5), MakePoint(2.5, 5.5)};
  ASSERT_TRUE(grid.setConvexPolygonCost(square, nav2_costmap_2d::LETHAL_OBSTACLE));
  unsigned int marked = 0;
  for (unsigned int y = 0; y < 10; ++y) {
    for (unsigned int x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x <= 5 && y >= 2 && y <= 5;
      EXPECT_EQ(grid.getCost(x, y), inside ? nav2_costmap_2d::LETHAL_OBSTACLE : 0)
        << x << "," << y;
      marked += grid.getCost(x, y) != 0;
    }
  }
  EXPECT_EQ(marked, 16u);

  const std::vector<Point> off_grid{MakePoint(1, 1), MakePoint(12, 1), MakePoint(1, 3)};
  EXPECT_FALSE(grid.setConvexPolygonCost(off_grid, 1));
}

TEST(Costmap2D, UpdateOriginKeepsTheOverlapAndResetsTheRest)
{
  Costmap2D grid(4, 4, 1.0, 0.0, 0.0, nav2_costmap_2d::NO_INFORMATION);
  grid.setCost(2, 2, 7);
  grid.setCost(0, 0, 9);
  grid.updateOrigin(1.0, 1.0);
  EXPECT_DOUBLE_EQ(grid.getOriginX(), 1.0);
  EXPECT_EQ(grid.getCost(1, 1), 7);
  EXPECT_EQ(grid.getCost(3, 3), nav2_costmap_2d::NO_INFORMATION);
}

TEST(Costmap2D, CopiesAreDeepAndResetsStayInTheirWindow)
{
  Costmap2D grid(3, 3, 0.1, 0.0, 0.0, 5);
  Costmap2D copy(grid);
  grid.setCost(1, 1, 200);
  EXPECT_EQ(copy.getCost(1, 1), 5);
  EXPECT_EQ(copy.getDefaultValue(), 5);

  grid.resetMapToValue(0, 0, 2, 1, 0);
  EXPECT_EQ(grid.getCost(0, 0), 0);
  EXPECT_EQ(grid.getCost(1, 0), 0);
  EXPECT_EQ(grid.getCost(2, 0), 5);
  EXPECT_EQ(grid.getCost(1, 1), 200);

  grid.resizeMap(2, 2, 0.2, 1.0, 1.0);
  EXPECT_EQ(grid.getSizeInCellsX(), 2u);
  EXPECT_EQ(grid.getCost(1, 1), 5);
}

// ---------------------------------------------------------------- LayeredCostmap

/// A layer that records what the layered costmap does to it.
class FakeLayer : public nav2_costmap_2d::Layer
{
public:
  FakeLayer(
    LayeredCostmap * parent, const std::string & name, std::vector<std::string> & events,
    unsigned char cost)
  : events_(events), cost_(cost)
  {
    layered_costmap_ = parent;
    name_ = name;
    enabled_ = true;
    current_ = true;
  }

  void setEnabled(bool enabled) {enabled_ = enabled;}

  void reset() override {events_.push_back(name_ + " reset");}
  bool isClearable() override {return false;}
  void matchSize() override {events_.push_back(name_ + " matchSize");}
  void onFootprintChanged() override {events_.push_back(name_ + " onFootprintChanged");}

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
      std::launch::async, [mutex]() {
        if (mutex->try_lock()) {
          mutex->unlock();
          return false;
        }
        return true;
      }).get();
  }

  std::vector<std::string> & events_;
  unsigned char cost_;
};

TEST(LayeredCostmap, DefaultValueFollowsTrackUnknown)
{
  LayeredCostmap tracking("map", false, true);
  EXPECT_EQ(tracking.getCostmap()->getDefaultValue(), nav2_costmap_2d::NO_INFORMATION);
  EXPECT_TRUE(tracking.isTrackingUnknown());
  LayeredCostmap not_tracking("odom", true, false);
  EXPECT_EQ(not_tracking.getCostmap()->getDefaultValue(), nav2_costmap_2d::FREE_SPACE);
  EXPECT_TRUE(not_tracking.isRolling());
  EXPECT_EQ(not_tracking.getGlobalFrameID(), "odom");
  EXPECT_FALSE(not_tracking.isInitialized());
  EXPECT_FALSE(not_tracking.isSizeLocked());
}

TEST(LayeredCostmap, ResizeMatchesEveryLayerInOrder)
{
  std::vector<std::string> events;
  LayeredCostmap layered("map", false, false);
  layered.addPlugin(std::make_shared<FakeLayer>(&layered, "a", events, 10));
  layered.addPlugin(std::make_shared<FakeLayer>(&layered, "b", events, 20));
  layered.addFilter(std::make_shared<FakeLayer>(&layered, "f", events, 30));

  layered.resizeMap(40, 30, 0.05, -1.0, -0.5, true);
  EXPECT_EQ(events, (std::vector<std::string>{"a matchSize", "b matchSize", "f matchSize"}));
  EXPECT_EQ(layered.getCostmap()->getSizeInCellsX(), 40u);
  EXPECT_EQ(layered.getCostmap()->getSizeInCellsY(), 30u);
  EXPECT_DOUBLE_EQ(layered.getCostmap()->getOriginX(), -1.0);
  EXPECT_TRUE(layered.isSizeLocked());
}

TEST(LayeredCostmap, UpdatesBoundsThenPluginCostsThenFiltersUnderTheMutex)
{
  std::vector<std::string> events;
  LayeredCostmap layered("map", false, false);
  layered.addPlugin(std::make_shared<FakeLayer>(&layered, "a", events, 10));
  layered.addPlugin(std::make_shared<FakeLayer>(&layered, "b", events, 20));
  layered.addFilter(std::make_shared<FakeLayer>(&layered, "f", events, 30));
  layered.resizeMap(10, 10, 1.0, 0.0, 0.0);
  events.clear();

  layered.updateMap(3.5, 4.5, 0.0);
  EXPECT_EQ(
    events, (std::vector<std::string>{
    "a updateBounds locked", "b updateBounds locked", "f updateBounds locked",
    // The plugins draw into the primary grid; the filter sees their result
    // copied into the combined grid.
    "a updateCosts 0 primary", "b updateCosts 10 primary", "f updateCosts 20 combined"}));
  EXPECT_EQ(layered.getCostmap()->getCost(3, 4), 30);
  EXPECT_TRUE(layered.isInitialized());
  EXPECT_TRUE(layered.isCurrent());

  unsigned int x0, xn, y0, yn;
  layered.getBounds(&x0, &xn, &y0, &yn);
  EXPECT_EQ(x0, 3u);
  EXPECT_EQ(xn, 4u);
  EXPECT_EQ(y0, 4u);
  EXPECT_EQ(yn, 5u);
}

TEST(LayeredCostmap, WithoutFiltersPluginsDrawIntoTheCombinedGridAndDisabledOnesAreSkipped)
{
  std::vector<std::string> events;
  LayeredCostmap layered("map", false, false);
  auto a = std::make_shared<FakeLayer>(&layered, "a", events, 10);
  auto b = std::make_shared<FakeLayer>(&layered, "b", events, 20);
  layered.addPlugin(a);
  layered.addPlugin(b);
  layered.resizeMap(10, 10, 1.0, 0.0, 0.0);
  b->setEnabled(false);
  events.clear();

  layered.updateMap(1.5, 1.5, 0.0);
  EXPECT_EQ(
    events,
    (std::vector<std::string>{"a updateBounds locked", "a updateCosts 0 combined"}));
  EXPECT_EQ(layered.getCostmap()->getCost(1, 1), 10);
}

TEST(LayeredCostmap, RollingWindowCentresOnTheRobot)
{
  LayeredCostmap layered("odom", true, false);
  layered.resizeMap(10, 10, 1.0, 0.0, 0.0);
  std::vector<std::string> events;
  layered.addPlugin(std::make_shared<FakeLayer>(&layered, "a", events, 10));
  layered.updateMap(20.0, 30.0, 0.0);
  // Upstream's size in metres is (cells - 0.5) * resolution, so 9.5 m here,
  // and the origin moves by whole cells only.
  EXPECT_DOUBLE_EQ(layered.getCostmap()->getOriginX(), 15.0);
  EXPECT_DOUBLE_EQ(layered.getCostmap()->getOriginY(), 25.0);
  EXPECT_FALSE(layered.isOutofBounds(20.0, 30.0));
  EXPECT_TRUE(layered.isOutofBounds(0.0, 0.0));
}

TEST(LayeredCostmap, SetFootprintRecomputesRadiiAndTellsEveryLayer)
{
  std::vector<std::string> events;
  LayeredCostmap layered("map", false, false);
  layered.addPlugin(std::make_shared<FakeLayer>(&layered, "a", events, 10));
  layered.addFilter(std::make_shared<FakeLayer>(&layered, "f", events, 30));

  layered.setFootprint({MakePoint(2, 1), MakePoint(-2, 1), MakePoint(-2, -1), MakePoint(2, -1)});
  EXPECT_NEAR(layered.getInscribedRadius(), 1.0, 1e-9);
  EXPECT_NEAR(layered.getCircumscribedRadius(), std::sqrt(5.0), 1e-9);
  EXPECT_EQ(layered.getFootprint().size(), 4u);
  EXPECT_EQ(events, (std::vector<std::string>{"a onFootprintChanged", "f onFootprintChanged"}));
}

// ---------------------------------------------------------------- with ROS

/// Starts ROS for each test and shuts it down after.
class RosTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    // Costmap2DROS's plugin loader looks nav2_costmap_2d up in the ament index.
    const char * previous = std::getenv("AMENT_PREFIX_PATH");
    had_previous_ = previous != nullptr;
    previous_ = previous ? previous : "";
    setenv("AMENT_PREFIX_PATH", STANDIN_TEST_COSTMAP_AMENT_PREFIX, 1);
    const char * argv[] = {"test"};
    rclcpp::init(1, argv);
  }

  void TearDown() override
  {
    if (rclcpp::ok()) {
      rclcpp::shutdown();
    }
    if (had_previous_) {
      setenv("AMENT_PREFIX_PATH", previous_.c_str(), 1);
    } else {
      unsetenv("AMENT_PREFIX_PATH");
    }
  }

  /// Spins @p node until @p future is ready; the limit is only a hang guard.
  template<typename FutureT>
  bool SpinUntil(const rclcpp::Node::SharedPtr & node, FutureT & future)
  {
    rclcpp::executors::SingleThreadedExecutor executor;
    executor.add_node(node);
    return executor.spin_until_future_complete(future, std::chrono::seconds(10)) ==
           rclcpp::FutureReturnCode::SUCCESS;
  }

private:
  bool had_previous_{false};
  std::string previous_;
};

using Costmap2DPublisherTest = RosTest;

TEST_F(Costmap2DPublisherTest, PublishesAFullGridThenUpdatesWithTranslatedCosts)
{
  auto host = std::make_shared<nav2_util::LifecycleNode>("publisher_host", "pub_ns");
  Costmap2D grid(4, 2, 0.5, 1.0, 2.0);
  const unsigned char costs[] = {0, 1, 100, 126, 252, 253, 254, 255};
  for (unsigned int i = 0; i < 8; ++i) {
    grid.getCharMap()[i] = costs[i];
  }
  nav2_costmap_2d::Costmap2DPublisher publisher(host, &grid, "map", "costmap");
  publisher.on_activate();

  auto listener = std::make_shared<rclcpp::Node>("costmap_listener");
  const auto latched = rclcpp::QoS(rclcpp::KeepLast(1)).transient_local().reliable();
  std::promise<nav_msgs::msg::OccupancyGrid> grid_promise;
  auto grid_sub = listener->create_subscription<nav_msgs::msg::OccupancyGrid>(
    "/pub_ns/costmap", latched,
    [&grid_promise](nav_msgs::msg::OccupancyGrid::SharedPtr msg) {grid_promise.set_value(*msg);});
  std::promise<map_msgs::msg::OccupancyGridUpdate> update_promise;
  auto update_sub = listener->create_subscription<map_msgs::msg::OccupancyGridUpdate>(
    "/pub_ns/costmap_updates", latched,
    [&update_promise](map_msgs::msg::OccupancyGridUpdate::SharedPtr msg) {
      update_promise.set_value(*msg);
    });

  publisher.publishCostmap();
  auto grid_future = grid_promise.get_future();
  ASSERT_TRUE(SpinUntil(listener, grid_future));
  const auto full = grid_future.get();
  EXPECT_EQ(full.header.frame_id, "map");
  EXPECT_EQ(full.info.width, 4u);
  EXPECT_EQ(full.info.height, 2u);
  EXPECT_FLOAT_EQ(full.info.resolution, 0.5f);
  EXPECT_DOUBLE_EQ(full.info.origin.position.x, 1.0);
  EXPECT_DOUBLE_EQ(full.info.origin.position.y, 2.0);
  EXPECT_DOUBLE_EQ(full.info.origin.orientation.w, 1.0);
  EXPECT_EQ(full.data, (std::vector<int8_t>{0, 1, 39, 49, 98, 99, 100, -1}));

  // Same shape: only the window passed to updateBounds goes out.
  grid.setCost(1, 1, nav2_costmap_2d::LETHAL_OBSTACLE);
  publisher.updateBounds(1, 2, 1, 2);
  publisher.publishCostmap();
  auto update_future = update_promise.get_future();
  ASSERT_TRUE(SpinUntil(listener, update_future));
  const auto update = update_future.get();
  EXPECT_EQ(update.x, 1);
  EXPECT_EQ(update.y, 1);
  EXPECT_EQ(update.width, 1u);
  EXPECT_EQ(update.height, 1u);
  EXPECT_EQ(update.data, (std::vector<int8_t>{100}));
}

/// Costmap2DROS with its protected members opened up.
class ProbedCostmap : public nav2_costmap_2d::Costmap2DROS
{
public:
  using Costmap2DROS::Costmap2DROS;
  using Costmap2DROS::always_send_full_costmap_;
  using Costmap2DROS::dynamicParametersCallback;
  using Costmap2DROS::filter_names_;
  using Costmap2DROS::filter_types_;
  using Costmap2DROS::footprint_;
  using Costmap2DROS::footprint_padding_;
  using Costmap2DROS::footprint_pub_;
  using Costmap2DROS::getParameters;
  using Costmap2DROS::global_frame_;
  using Costmap2DROS::initialized_;
  using Costmap2DROS::is_lifecycle_follower_;
  using Costmap2DROS::layered_costmap_;
  using Costmap2DROS::map_height_meters_;
  using Costmap2DROS::map_publish_frequency_;
  using Costmap2DROS::map_update_frequency_;
  using Costmap2DROS::map_width_meters_;
  using Costmap2DROS::origin_x_;
  using Costmap2DROS::origin_y_;
  using Costmap2DROS::plugin_names_;
  using Costmap2DROS::plugin_types_;
  using Costmap2DROS::publish_cycle_;
  using Costmap2DROS::resolution_;
  using Costmap2DROS::robot_base_frame_;
  using Costmap2DROS::rolling_window_;
  using Costmap2DROS::stop_updates_;
  using Costmap2DROS::tf_buffer_;
  using Costmap2DROS::track_unknown_space_;
  using Costmap2DROS::transform_tolerance_;
  using Costmap2DROS::use_radius_;
};

using Costmap2DROSTest = RosTest;

TEST_F(Costmap2DROSTest, NameAndNamespaces)
{
  auto single = std::make_shared<ProbedCostmap>("local_costmap");
  EXPECT_STREQ(single->get_fully_qualified_name(), "/local_costmap/local_costmap");
  EXPECT_EQ(single->getName(), "local_costmap");
  EXPECT_TRUE(single->is_lifecycle_follower_);

  auto nested = std::make_shared<ProbedCostmap>("inner", "/robot1", "local");
  EXPECT_STREQ(nested->get_fully_qualified_name(), "/robot1/local/inner");

  auto independent = std::make_shared<ProbedCostmap>(rclcpp::NodeOptions());
  EXPECT_STREQ(independent->get_fully_qualified_name(), "/costmap");
  EXPECT_EQ(independent->getName(), "costmap");
  EXPECT_FALSE(independent->is_lifecycle_follower_);
}

TEST_F(Costmap2DROSTest, DeclaresItsParametersWithTheirTypes)
{
  auto node = std::make_shared<ProbedCostmap>("typed_costmap");
  EXPECT_EQ(node->get_parameter("height").get_type(), rclcpp::PARAMETER_INTEGER);
  EXPECT_EQ(node->get_parameter("width").get_type(), rclcpp::PARAMETER_INTEGER);
  EXPECT_EQ(node->get_parameter("unknown_cost_value").as_int(), 255);
  EXPECT_EQ(node->get_parameter("lethal_cost_threshold").as_int(), 100);
  EXPECT_EQ(node->get_parameter("footprint_padding").get_type(), rclcpp::PARAMETER_DOUBLE);
  EXPECT_EQ(node->get_parameter("filters").get_type(), rclcpp::PARAMETER_STRING_ARRAY);
  EXPECT_EQ(node->get_parameter("map_topic").as_string(), "map");
  EXPECT_EQ(node->get_parameter("observation_sources").as_string(), "");
  EXPECT_TRUE(node->get_parameter("trinary_costmap").as_bool());
  EXPECT_FALSE(node->get_parameter("use_maximum").as_bool());
}

TEST_F(Costmap2DROSTest, GetParametersReadsTheDefaults)
{
  auto node = std::make_shared<ProbedCostmap>("default_costmap");
  node->getParameters();
  EXPECT_FALSE(node->always_send_full_costmap_);
  EXPECT_EQ(node->footprint_, "[]");
  EXPECT_FLOAT_EQ(node->footprint_padding_, 0.01f);
  EXPECT_EQ(node->global_frame_, "map");
  EXPECT_EQ(node->robot_base_frame_, "base_link");
  EXPECT_EQ(node->map_width_meters_, 5);
  EXPECT_EQ(node->map_height_meters_, 5);
  EXPECT_DOUBLE_EQ(node->resolution_, 0.1);
  EXPECT_DOUBLE_EQ(node->origin_x_, 0.0);
  EXPECT_DOUBLE_EQ(node->origin_y_, 0.0);
  EXPECT_DOUBLE_EQ(node->map_update_frequency_, 5.0);
  EXPECT_DOUBLE_EQ(node->map_publish_frequency_, 1.0);
  EXPECT_DOUBLE_EQ(node->transform_tolerance_, 0.3);
  EXPECT_DOUBLE_EQ(node->getRobotRadius(), 0.1);
  EXPECT_FALSE(node->rolling_window_);
  EXPECT_FALSE(node->track_unknown_space_);
  EXPECT_EQ(
    node->plugin_names_,
    (std::vector<std::string>{"static_layer", "obstacle_layer", "inflation_layer"}));
  EXPECT_EQ(
    node->plugin_types_,
    (std::vector<std::string>{"nav2_costmap_2d::StaticLayer", "nav2_costmap_2d::ObstacleLayer",
      "nav2_costmap_2d::InflationLayer"}));
  EXPECT_TRUE(node->filter_names_.empty());
  EXPECT_TRUE(node->filter_types_.empty());
  EXPECT_EQ(node->publish_cycle_, rclcpp::Duration::from_seconds(1.0));
  EXPECT_TRUE(node->use_radius_);
}

TEST_F(Costmap2DROSTest, GetParametersLooksUpEachLayerAndFilterType)
{
  auto node = std::make_shared<ProbedCostmap>("typed_layers_costmap");
  node->set_parameter(rclcpp::Parameter("plugins", std::vector<std::string>{"my_layer"}));
  try {
    node->getParameters();
    FAIL() << "a layer without a type was accepted";
  } catch (const std::runtime_error & e) {
    EXPECT_NE(std::string(e.what()).find("my_layer"), std::string::npos) << e.what();
  }

  node->set_parameter(rclcpp::Parameter("my_layer.plugin", "pkg::MyLayer"));
  node->set_parameter(rclcpp::Parameter("filters", std::vector<std::string>{"keepout"}));
  node->declare_parameter("keepout.plugin", rclcpp::ParameterValue(std::string("pkg::Keepout")));
  node->getParameters();
  EXPECT_EQ(node->plugin_types_, (std::vector<std::string>{"pkg::MyLayer"}));
  EXPECT_EQ(node->filter_types_, (std::vector<std::string>{"pkg::Keepout"}));
  // The defaults' types are only declared for the default list.
  EXPECT_FALSE(node->has_parameter("static_layer.plugin"));

  node->set_parameter(rclcpp::Parameter("my_layer.plugin", ""));
  try {
    node->getParameters();
    FAIL() << "an empty layer type was accepted";
  } catch (const std::runtime_error & e) {
    EXPECT_STREQ(e.what(), "Can not get 'plugin' param value for my_layer");
  }
}

TEST_F(Costmap2DROSTest, GetParametersPrefersAValidFootprintOverTheRadius)
{
  auto node = std::make_shared<ProbedCostmap>("footprint_costmap");
  node->set_parameter(rclcpp::Parameter("footprint", "[[1, 2]]"));
  testing::internal::CaptureStderr();
  node->getParameters();
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(node->use_radius_);
  EXPECT_NE(
    log.find("The footprint parameter is invalid: \"[[1, 2]]\", using radius (0.100000) instead"),
    std::string::npos) << log;

  node->set_parameter(rclcpp::Parameter("footprint", "[[0.5, 0.5], [-0.5, 0.5], [0, -0.5]]"));
  node->set_parameter(rclcpp::Parameter("publish_frequency", 0.0));
  node->getParameters();
  EXPECT_FALSE(node->use_radius_);
  EXPECT_EQ(node->publish_cycle_, rclcpp::Duration(std::chrono::seconds(-1)));
}

TEST_F(Costmap2DROSTest, ReplacedTransitionsFailLoudly)
{
  auto node = std::make_shared<ProbedCostmap>("replaced_costmap");
  const rclcpp_lifecycle::State state;
  EXPECT_THROW(node->on_configure(state), std::logic_error);
  EXPECT_THROW(node->on_activate(state), std::logic_error);
  EXPECT_THROW(node->on_cleanup(state), std::logic_error);
  EXPECT_EQ(node->on_shutdown(state), nav2_util::CallbackReturn::SUCCESS);
}

TEST_F(Costmap2DROSTest, DynamicParametersResizeAndRemakeTheFootprint)
{
  auto node = std::make_shared<ProbedCostmap>("dynamic_costmap");
  node->getParameters();
  node->layered_costmap_ = std::make_unique<LayeredCostmap>("map", false, false);
  node->layered_costmap_->resizeMap(50, 50, 0.1, 0.0, 0.0);
  node->setRobotFootprint(nav2_costmap_2d::makeFootprintFromRadius(node->getRobotRadius()));

  auto result = node->dynamicParametersCallback(
    {rclcpp::Parameter("width", 3), rclcpp::Parameter("resolution", 0.5),
      rclcpp::Parameter("origin_x", -1.0), rclcpp::Parameter("not_a_costmap_parameter", 7)});
  EXPECT_TRUE(result.successful);
  EXPECT_EQ(node->getCostmap()->getSizeInCellsX(), 6u);
  EXPECT_EQ(node->getCostmap()->getSizeInCellsY(), 10u);
  EXPECT_DOUBLE_EQ(node->getCostmap()->getOriginX(), -1.0);

  result = node->dynamicParametersCallback(
    {rclcpp::Parameter("footprint", "[[1, 1], [-1, 1], [-1, -1]]"),
      rclcpp::Parameter("footprint_padding", 0.5)});
  EXPECT_TRUE(result.successful);
  ASSERT_EQ(node->getUnpaddedRobotFootprint().size(), 3u);
  ASSERT_EQ(node->getRobotFootprint().size(), 3u);
  EXPECT_DOUBLE_EQ(node->getRobotFootprint()[0].x, 1.5);
  EXPECT_DOUBLE_EQ(node->getLayeredCostmap()->getFootprint()[2].y, -1.5);

  result = node->dynamicParametersCallback({rclcpp::Parameter("publish_frequency", 4.0)});
  EXPECT_TRUE(result.successful);
  EXPECT_EQ(node->publish_cycle_, rclcpp::Duration::from_seconds(0.25));
}

TEST_F(Costmap2DROSTest, FootprintPolygonIsStoredUnpaddedAndPaddedForTheLayers)
{
  auto node = std::make_shared<ProbedCostmap>("polygon_costmap");
  node->getParameters();
  node->layered_costmap_ = std::make_unique<LayeredCostmap>("map", false, false);
  auto polygon = std::make_shared<geometry_msgs::msg::Polygon>(
    nav2_costmap_2d::toPolygon({MakePoint(0.5, 0.25), MakePoint(-0.5, 0.25), MakePoint(0, -0.25)}));
  node->setRobotFootprintPolygon(polygon);

  ASSERT_EQ(node->getUnpaddedRobotFootprint().size(), 3u);
  EXPECT_DOUBLE_EQ(node->getUnpaddedRobotFootprint()[0].x, 0.5);
  const auto padded = node->getRobotFootprint();
  ASSERT_EQ(padded.size(), 3u);
  EXPECT_NEAR(padded[0].x, 0.51, 1e-6);
  EXPECT_NEAR(padded[2].x, 0.0, 1e-12);
  EXPECT_NEAR(padded[2].y, -0.26, 1e-6);
  EXPECT_EQ(node->getLayeredCostmap()->getFootprint(), padded);
  EXPECT_EQ(node->getRobotFootprintPolygon().points.size(), 3u);
}

TEST_F(Costmap2DROSTest, UpdateMapUsesTheRobotPoseAndPublishesTheFootprint)
{
  auto node = std::make_shared<ProbedCostmap>("pose_costmap");
  node->getParameters();
  node->layered_costmap_ = std::make_unique<LayeredCostmap>("map", false, false);
  node->layered_costmap_->resizeMap(50, 50, 0.1, 0.0, 0.0);
  std::vector<std::string> events;
  node->layered_costmap_->addPlugin(
    std::make_shared<FakeLayer>(node->layered_costmap_.get(), "a", events, 10));
  node->setRobotFootprint({MakePoint(0.2, 0.1), MakePoint(-0.2, 0.1), MakePoint(-0.2, -0.1)});
  node->footprint_pub_ = node->create_publisher<geometry_msgs::msg::PolygonStamped>(
    "published_footprint", rclcpp::SystemDefaultsQoS());
  node->footprint_pub_->on_activate();
  events.clear();

  node->tf_buffer_ = std::make_shared<tf2_ros::Buffer>(node->get_clock());
  node->tf_buffer_->setUsingDedicatedThread(true);
  geometry_msgs::msg::TransformStamped robot;
  robot.header.frame_id = "map";
  robot.child_frame_id = "base_link";
  robot.transform.translation.x = 1.0;
  robot.transform.translation.y = 2.0;
  robot.transform.rotation.z = std::sin(M_PI / 4);
  robot.transform.rotation.w = std::cos(M_PI / 4);
  ASSERT_TRUE(node->tf_buffer_->setTransform(robot, "test", true));

  auto listener = std::make_shared<rclcpp::Node>("footprint_listener");
  std::promise<geometry_msgs::msg::PolygonStamped> footprint_promise;
  auto sub = listener->create_subscription<geometry_msgs::msg::PolygonStamped>(
    "/pose_costmap/published_footprint", rclcpp::SystemDefaultsQoS(),
    [&footprint_promise](geometry_msgs::msg::PolygonStamped::SharedPtr msg) {
      footprint_promise.set_value(*msg);
    });

  geometry_msgs::msg::PoseStamped pose;
  ASSERT_TRUE(node->getRobotPose(pose));
  EXPECT_EQ(pose.header.frame_id, "map");
  EXPECT_DOUBLE_EQ(pose.pose.position.x, 1.0);
  EXPECT_DOUBLE_EQ(pose.pose.position.y, 2.0);

  node->stop_updates_ = true;
  node->updateMap();
  EXPECT_FALSE(node->initialized_);
  EXPECT_TRUE(events.empty());

  node->stop_updates_ = false;
  node->updateMap();
  EXPECT_TRUE(node->initialized_);
  EXPECT_EQ(events.size(), 2u);
  EXPECT_EQ(node->getCostmap()->getCost(10, 20), 10);

  auto footprint_future = footprint_promise.get_future();
  ASSERT_TRUE(SpinUntil(listener, footprint_future));
  const auto footprint = footprint_future.get();
  EXPECT_EQ(footprint.header.frame_id, "map");
  ASSERT_EQ(footprint.polygon.points.size(), 3u);
  // (0.2 + 0.01, 0.1 + 0.01) padded, turned a quarter and moved to (1, 2).
  EXPECT_NEAR(footprint.polygon.points[0].x, 1.0 - 0.11, 1e-5);
  EXPECT_NEAR(footprint.polygon.points[0].y, 2.0 + 0.21, 1e-5);

  // No transform into an unknown frame: the update is skipped.
  node->global_frame_ = "elsewhere";
  node->transform_tolerance_ = 0.0;
  node->initialized_ = false;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(node->getRobotPose(pose));
  node->updateMap();
  testing::internal::GetCapturedStderr();
  EXPECT_FALSE(node->initialized_);
}

}  // namespace
