#ifndef RESOURCE_INDEX_SUBFOLDER_HPP_
#define RESOURCE_INDEX_SUBFOLDER_HPP_

namespace ament_index_cpp
{
namespace detail
{

// Every prefix keeps its index here; one folder per resource type, one file per resource.
constexpr const char RESOURCE_INDEX_SUBFOLDER[] = "share/ament_index/resource_index";

}  // namespace detail
}  // namespace ament_index_cpp

#endif  // RESOURCE_INDEX_SUBFOLDER_HPP_
