// The ROS side of the costmap base: the costmap publisher's topics and cost
// translation, the parameters Costmap2DROS declares and reads, its footprint,
// dynamic parameters, map update and clear services.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "costmap/fake_layer.hpp"
#include "nav2_costmap_2d/clear_costmap_service.hpp"
#include "nav2_costmap_2d/cost_values.hpp"
#include "nav2_costmap_2d/costmap_2d.hpp"
#include "nav2_costmap_2d/costmap_2d_publisher.hpp"
#include "nav2_costmap_2d/costmap_2d_ros.hpp"
#include "nav2_costmap_2d/costmap_layer.hpp"
#include "nav2_costmap_2d/footprint.hpp"
#include "nav2_costmap_2d/layered_costmap.hpp"
#include "rclcpp/rclcpp.hpp"

namespace
{

using costmap_test::FakeLayer;
using costmap_test::MakePoint;
using geometry_msgs::msg::Point;
using nav2_costmap_2d::Costmap2D;
using nav2_costmap_2d::LayeredCostmap;

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
    [&grid_promise](nav_msgs::msg::OccupancyGrid::SharedPtr msg) { grid_promise.set_value(*msg); });
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
  using Costmap2DROS::always_send_full_costmap_;
  using Costmap2DROS::Costmap2DROS;
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
    node->plugin_types_, (std::vector<std::string>{
                           "nav2_costmap_2d::StaticLayer", "nav2_costmap_2d::ObstacleLayer",
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
    std::string::npos)
    << log;

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

/// Puts the robot at (@p x, @p y) in "map" through a static transform.
void PlaceRobot(ProbedCostmap & node, double x, double y)
{
  node.tf_buffer_ = std::make_shared<tf2_ros::Buffer>(node.get_clock());
  node.tf_buffer_->setUsingDedicatedThread(true);
  geometry_msgs::msg::TransformStamped robot;
  robot.header.frame_id = "map";
  robot.child_frame_id = "base_link";
  robot.transform.translation.x = x;
  robot.transform.translation.y = y;
  robot.transform.rotation.w = 1.0;
  ASSERT_TRUE(node.tf_buffer_->setTransform(robot, "test", true));
}

/// A clearable layer with a grid of its own.
class ClearableLayer : public nav2_costmap_2d::CostmapLayer
{
public:
  ClearableLayer(LayeredCostmap * parent, std::vector<std::string> & events)
  : events_(events)
  {
    layered_costmap_ = parent;
    name_ = "clearable";
    enabled_ = true;
  }

  using CostmapLayer::has_extra_bounds_;

  void reset() override
  {
    events_.push_back("clearable reset");
    resetMaps();
  }
  bool isClearable() override { return true; }
  void updateBounds(double, double, double, double *, double *, double *, double *) override {}
  void updateCosts(Costmap2D &, int, int, int, int) override {}

private:
  std::vector<std::string> & events_;
};

TEST_F(Costmap2DROSTest, ClearServicesClearOnlyClearableLayers)
{
  auto node = std::make_shared<ProbedCostmap>("clear_costmap");
  node->getParameters();
  node->layered_costmap_ = std::make_unique<LayeredCostmap>("map", false, false);
  std::vector<std::string> events;
  auto clearable = std::make_shared<ClearableLayer>(node->layered_costmap_.get(), events);
  node->layered_costmap_->addPlugin(clearable);
  node->layered_costmap_->addPlugin(
    std::make_shared<FakeLayer>(node->layered_costmap_.get(), "kept", events, 1));
  node->layered_costmap_->resizeMap(20, 20, 0.5, 0.0, 0.0);
  PlaceRobot(*node, 5.0, 5.0);
  nav2_costmap_2d::ClearCostmapService service(node, *node);

  // A 2 m square around (5, 5) is cells 8..12; clearing takes the cells strictly inside.
  clearable->resetMapToValue(0, 0, 20, 20, 100);
  service.clearRegion(2.0, false);
  EXPECT_EQ(clearable->getCost(10, 10), nav2_costmap_2d::NO_INFORMATION);
  EXPECT_EQ(clearable->getCost(9, 11), nav2_costmap_2d::NO_INFORMATION);
  EXPECT_EQ(clearable->getCost(8, 10), 100);
  EXPECT_EQ(clearable->getCost(12, 12), 100);
  EXPECT_TRUE(clearable->has_extra_bounds_);

  clearable->resetMapToValue(0, 0, 20, 20, 100);
  service.clearRegion(2.0, true);
  EXPECT_EQ(clearable->getCost(10, 10), 100);
  EXPECT_EQ(clearable->getCost(0, 0), nav2_costmap_2d::NO_INFORMATION);

  // Through the service, relative to the node's namespace.
  node->getCostmap()->setCost(3, 3, 77);
  events.clear();
  auto client_node = std::make_shared<rclcpp::Node>("clear_client");
  auto client = client_node->create_client<nav2_msgs::srv::ClearEntireCostmap>(
    "/clear_costmap/clear_entirely_clear_costmap");
  ASSERT_TRUE(client->wait_for_service(std::chrono::seconds(10)));
  auto response =
    client->async_send_request(std::make_shared<nav2_msgs::srv::ClearEntireCostmap::Request>());
  rclcpp::executors::SingleThreadedExecutor executor;
  executor.add_node(node->get_node_base_interface());
  executor.add_node(client_node);
  ASSERT_EQ(
    executor.spin_until_future_complete(response, std::chrono::seconds(10)),
    rclcpp::FutureReturnCode::SUCCESS);
  EXPECT_EQ(events, (std::vector<std::string>{"clearable reset"}));
  EXPECT_EQ(node->getCostmap()->getCost(3, 3), nav2_costmap_2d::FREE_SPACE);
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
