#include "nav2_util/node_utils.hpp"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <string>

namespace nav2_util
{

std::string sanitize_node_name(const std::string & potential_node_name)
{
  std::string node_name(potential_node_name);
  std::replace_if(
    node_name.begin(), node_name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
  return node_name;
}

std::string add_namespaces(const std::string & top_ns, const std::string & sub_ns)
{
  if (!top_ns.empty() && top_ns.back() == '/') {
    if (top_ns.front() == '/') {
      return top_ns + sub_ns;
    } else {
      return "/" + top_ns + sub_ns;
    }
  }

  return top_ns + "/" + sub_ns;
}

std::string time_to_string(size_t len)
{
  std::string output(len, '0');
  const auto timecount = std::chrono::system_clock::now().time_since_epoch().count();
  const std::string timestring = std::to_string(timecount);
  if (timestring.length() >= len) {
    // Keep the fastest-changing digits.
    output.replace(0, len, timestring, timestring.length() - len, len);
  } else {
    output.replace(
      len - timestring.length(), timestring.length(), timestring, 0, timestring.length());
  }
  return output;
}

std::string generate_internal_node_name(const std::string & prefix)
{
  return sanitize_node_name(prefix) + "_" + time_to_string(8);
}

}  // namespace nav2_util
