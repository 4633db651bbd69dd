#ifndef RCLCPP__SERVICE_HPP_
#define RCLCPP__SERVICE_HPP_

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "rclcpp/any_service_callback.hpp"
#include "rclcpp/detail/in_process_graph.hpp"
#include "rclcpp/macros.hpp"
#include "rmw/qos_profiles.h"
#include "rmw/types.h"

namespace rclcpp
{

class Executor;

namespace node_interfaces
{
class NodeBaseInterface;
}  // namespace node_interfaces

/// @brief The type-independent part of a service: its name and the requests waiting for the
/// serving executor.
class ServiceBase
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS_NOT_COPYABLE(ServiceBase)

  /// @brief Resolves the service name in the node's namespace.
  ServiceBase(
    rclcpp::node_interfaces::NodeBaseInterface * node_base, const std::string & service_name,
    const rclcpp::detail::InterfaceType & service_type);

  virtual ~ServiceBase();

  /// @brief The fully resolved service name.
  const char * get_service_name();

  /// @brief Marks the service as used by a wait set; returns the previous state.
  bool exchange_in_use_by_wait_set_state(bool in_use_state);

protected:
  virtual void enqueue_request(const rmw_request_id_t & request_header, const void * request) = 0;

  virtual bool has_request() const = 0;

  /// Runs the callback on the oldest request and sends the response back.
  virtual void take_and_handle() = 0;

  std::shared_ptr<rclcpp::detail::InProcessGraph> graph_;
  std::string service_name_;

private:
  RCLCPP_DISABLE_COPY(ServiceBase)

  friend class rclcpp::detail::InProcessGraph;
  friend class rclcpp::Executor;

  rclcpp::detail::InterfaceType service_type_;
  std::atomic<bool> in_use_by_wait_set_{false};
};

/// @brief A service server; requests are handled on the executor serving its callback group.
template<typename ServiceT>
class Service : public ServiceBase, public std::enable_shared_from_this<Service<ServiceT>>
{
public:
  using CallbackType = std::function<void(
    const std::shared_ptr<typename ServiceT::Request>,
    std::shared_ptr<typename ServiceT::Response>)>;

  using CallbackWithHeaderType = std::function<void(
    const std::shared_ptr<rmw_request_id_t>, const std::shared_ptr<typename ServiceT::Request>,
    std::shared_ptr<typename ServiceT::Response>)>;

  RCLCPP_SMART_PTR_DEFINITIONS(Service)

  Service(
    rclcpp::node_interfaces::NodeBaseInterface * node_base, const std::string & service_name,
    AnyServiceCallback<ServiceT> any_callback,
    const rmw_qos_profile_t & qos_profile = rmw_qos_profile_services_default)
  : ServiceBase(node_base, service_name, rclcpp::detail::InterfaceType::of<ServiceT>()),
    any_callback_(std::move(any_callback)),
    qos_profile_(qos_profile)
  {
  }

  Service() = delete;

  virtual ~Service() = default;

  std::shared_ptr<typename ServiceT::Request> create_request()
  {
    return std::make_shared<typename ServiceT::Request>();
  }

  std::shared_ptr<rmw_request_id_t> create_request_header()
  {
    return std::make_shared<rmw_request_id_t>();
  }

  /// @brief Sends a response to the client that made the request.
  void send_response(rmw_request_id_t & req_id, typename ServiceT::Response & response)
  {
    graph_->send_response(req_id, std::make_shared<typename ServiceT::Response>(response));
  }

private:
  RCLCPP_DISABLE_COPY(Service)

  struct Request
  {
    std::shared_ptr<rmw_request_id_t> header;
    std::shared_ptr<typename ServiceT::Request> request;
  };

  void enqueue_request(const rmw_request_id_t & request_header, const void * request) override
  {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    queue_.push_back(Request{
      std::make_shared<rmw_request_id_t>(request_header),
      std::make_shared<typename ServiceT::Request>(
        *static_cast<const typename ServiceT::Request *>(request))});
  }

  bool has_request() const override
  {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    return !queue_.empty();
  }

  void take_and_handle() override
  {
    Request taken;
    {
      std::lock_guard<std::mutex> lock(queue_mutex_);
      if (queue_.empty()) {
        return;
      }
      taken = std::move(queue_.front());
      queue_.pop_front();
    }
    auto response = any_callback_.dispatch(taken.header, taken.request);
    graph_->send_response(*taken.header, response);
  }

  AnyServiceCallback<ServiceT> any_callback_;
  rmw_qos_profile_t qos_profile_;
  mutable std::mutex queue_mutex_;
  std::deque<Request> queue_;
};

}  // namespace rclcpp

#endif  // RCLCPP__SERVICE_HPP_
