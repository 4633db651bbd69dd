#ifndef NAV2_COSTMAP_2D__SRC__ARRAY_PARSER_HPP_
#define NAV2_COSTMAP_2D__SRC__ARRAY_PARSER_HPP_

#include <string>
#include <vector>

namespace nav2_costmap_2d
{

/**
 * @brief Parses "[[1.0, 2.0], [3.3, 4.4, 5.5], ...]" into vectors of floats.
 *
 * On a syntax error @p error_return names it and the result holds the inner
 * vectors read so far; on success @p error_return is empty.
 */
std::vector<std::vector<float>> parseVVF(const std::string & input, std::string & error_return);

}  // namespace nav2_costmap_2d

#endif  // NAV2_COSTMAP_2D__SRC__ARRAY_PARSER_HPP_
