#ifndef NAV2_COSTMAP_2D__COST_VALUES_HPP_
#define NAV2_COSTMAP_2D__COST_VALUES_HPP_

namespace nav2_costmap_2d
{

/** @brief Cost of a cell nothing is known about. */
static constexpr unsigned char NO_INFORMATION = 255;
/** @brief Cost of a cell that holds an obstacle. */
static constexpr unsigned char LETHAL_OBSTACLE = 254;
/** @brief Cost of a cell within the robot's inscribed radius of an obstacle. */
static constexpr unsigned char INSCRIBED_INFLATED_OBSTACLE = 253;
/** @brief The highest cost that is not an obstacle. */
static constexpr unsigned char MAX_NON_OBSTACLE = 252;
/** @brief Cost of a free cell. */
static constexpr unsigned char FREE_SPACE = 0;

}  // namespace nav2_costmap_2d

#endif  // NAV2_COSTMAP_2D__COST_VALUES_HPP_
