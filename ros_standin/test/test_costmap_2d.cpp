// The grid side of the costmap base: footprint parsing, Costmap2D's cell
// arithmetic and polygon fill, and the layered costmap's update order.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "costmap/fake_layer.hpp"
#include "nav2_costmap_2d/cost_values.hpp"
#include "nav2_costmap_2d/costmap_2d.hpp"
#include "nav2_costmap_2d/footprint.hpp"
#include "nav2_costmap_2d/layered_costmap.hpp"

namespace
{

using costmap_test::FakeLayer;
using costmap_test::MakePoint;
using geometry_msgs::msg::Point;
using nav2_costmap_2d::Costmap2D;
using nav2_costmap_2d::LayeredCostmap;

// ---------------------------------------------------------------- footprint

TEST(Footprint, ParsesBracketedPairs)
{
  std::vector<Point> footprint;
  ASSERT_TRUE(nav2_costmap_2d::makeFootprintFromString(
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
  EXPECT_FALSE(nav2_costmap_2d::makeFootprintFromString("[[1, 1], [2, two], [3, 3]]", footprint));
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
    nav2_costmap_2d::makeFootprintFromString("[[1, 1], [2, 2, 2], [3, 3], [4, 4]]", footprint));
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
      EXPECT_EQ(grid.getCost(x, y), inside ? nav2_costmap_2d::LETHAL_OBSTACLE : 0) << x << "," << y;
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
    events, (std::vector<std::string>{"a updateBounds locked", "a updateCosts 0 combined"}));
  EXPECT_EQ(layered.getCostmap()->getCost(1, 1), 10);
}

TEST(LayeredCostmap, AnUpdateThatTouchesNoCellStillInitializes)
{
  LayeredCostmap without_layers("map", false, false);
  without_layers.resizeMap(10, 10, 1.0, 0.0, 0.0);
  without_layers.updateMap(1.0, 1.0, 0.0);
  EXPECT_TRUE(without_layers.isInitialized());
  EXPECT_TRUE(without_layers.isCurrent());

  std::vector<std::string> events;
  LayeredCostmap layered("map", false, false);
  auto idle = std::make_shared<FakeLayer>(&layered, "idle", events, 10);
  layered.addPlugin(idle);
  layered.resizeMap(10, 10, 1.0, 0.0, 0.0);
  idle->setEnabled(false);
  layered.getCostmap()->setCost(2, 2, 40);
  events.clear();

  layered.updateMap(1.0, 1.0, 0.0);
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(layered.isInitialized());
  unsigned int x0, xn, y0, yn;
  layered.getBounds(&x0, &xn, &y0, &yn);
  EXPECT_EQ(xn - x0, 0u);
  EXPECT_EQ(yn - y0, 0u);
  // Nothing was reset either.
  EXPECT_EQ(layered.getCostmap()->getCost(2, 2), 40);
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

}  // namespace
