#include "rclcpp/node_interfaces/node_graph.hpp"

#include <string>

#include "rclcpp/detail/in_process_graph.hpp"

namespace rclcpp
{
namespace node_interfaces
{

NodeGraph::NodeGraph(rclcpp::node_interfaces::NodeBaseInterface * node_base)
: node_base_(node_base)
{
}

NodeGraph::~NodeGraph() {}

size_t NodeGraph::count_publishers(const std::string & topic_name) const
{
  return rclcpp::detail::get_in_process_graph(*node_base_->get_context())
    ->count_publishers(node_base_->resolve_topic_or_service_name(topic_name, false));
}

size_t NodeGraph::count_subscribers(const std::string & topic_name) const
{
  return rclcpp::detail::get_in_process_graph(*node_base_->get_context())
    ->count_subscriptions(node_base_->resolve_topic_or_service_name(topic_name, false));
}

}  // namespace node_interfaces
}  // namespace rclcpp
