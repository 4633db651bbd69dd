#include "ament_index_cpp/get_package_share_directory.hpp"

#include <string>

namespace ament_index_cpp
{

std::string get_package_share_directory(const std::string & package_name)
{
  return get_package_prefix(package_name) + "/share/" + package_name;
}

}  // namespace ament_index_cpp
