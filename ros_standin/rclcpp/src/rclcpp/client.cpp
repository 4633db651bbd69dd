#include "rclcpp/client.hpp"

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>

#include "rclcpp/node_interfaces/node_base_interface.hpp"
#include "rclcpp/utilities.hpp"

namespace rclcpp
{

namespace
{

uint64_t next_client_id()
{
  static std::atomic<uint64_t> counter{0};
  return ++counter;
}

}  // namespace

ClientBase::ClientBase(
  rclcpp::node_interfaces::NodeBaseInterface * node_base,
  std::shared_ptr<rclcpp::node_interfaces::NodeGraphInterface> /*node_graph*/,
  const std::string & service_name, const rclcpp::detail::InterfaceType & service_type)
: graph_(rclcpp::detail::get_in_process_graph(*node_base->get_context())),
  context_(node_base->get_context()),
  service_name_(node_base->resolve_topic_or_service_name(service_name, true)),
  service_type_(service_type),
  client_id_(next_client_id())
{
}

ClientBase::~ClientBase() {}

const char * ClientBase::get_service_name() const
{
  return service_name_.c_str();
}

bool ClientBase::service_is_ready() const
{
  return graph_->service_is_available(service_name_);
}

bool ClientBase::exchange_in_use_by_wait_set_state(bool in_use_state)
{
  return in_use_by_wait_set_.exchange(in_use_state);
}

bool ClientBase::wait_for_service_nanoseconds(std::chrono::nanoseconds timeout)
{
  auto start = std::chrono::steady_clock::now();
  if (service_is_ready()) {
    return true;
  }
  if (timeout == std::chrono::nanoseconds(0)) {
    return false;
  }
  const bool forever = timeout < std::chrono::nanoseconds(0);
  const auto deadline = start + timeout;
  while (true) {
    const uint64_t seen = graph_->generation();
    if (service_is_ready()) {
      return true;
    }
    if (!rclcpp::ok(context_)) {
      return false;
    }
    if (!forever && std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    graph_->wait_for_change(seen, forever ? nullptr : &deadline);
  }
}

rmw_request_id_t ClientBase::next_request_header()
{
  rmw_request_id_t header{};
  std::memcpy(header.writer_guid, &client_id_, sizeof(client_id_));
  header.sequence_number = ++sequence_number_;
  return header;
}

}  // namespace rclcpp
