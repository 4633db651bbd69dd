#ifndef RCLCPP__DETAIL__IN_PROCESS_GRAPH_HPP_
#define RCLCPP__DETAIL__IN_PROCESS_GRAPH_HPP_

// Internal to the stand-in: what replaces rmw and DDS. One InProcessGraph per context
// holds the publishers, subscriptions, services and clients created on that context,
// matched by resolved name and C++ type, and the wake-up signal that the executors of
// the context wait on.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "rclcpp/qos.hpp"
#include "rmw/types.h"

namespace rclcpp
{

class ClientBase;
class PublisherBase;
class ServiceBase;
class SubscriptionBase;

namespace detail
{

/// Readable name of a C++ type (demangled typeid).
std::string demangle(const char * mangled_name);

/// How many messages a queue or a transient-local history keeps under this QoS; 0 means no
/// limit (keep all). The system-default history keeps 10, like the default profile
/// (UNVERIFIED: the middleware's own default depth may differ).
size_t history_limit(const rclcpp::QoS & qos);

/// The C++ type that a topic or service carries.
struct InterfaceType
{
  std::type_index index;
  std::string name;

  template<typename T>
  static InterfaceType of()
  {
    return InterfaceType{std::type_index(typeid(T)), demangle(typeid(T).name())};
  }
};

class InProcessGraph
{
public:
  // ---- Wake-ups. Every event that may make work ready (a message, a request, a trigger,
  // a timer reset, shutdown) bumps the generation; waits sleep until it changes.

  uint64_t generation() const;

  void notify();

  /// Blocks until the generation differs from `seen` or until `deadline` (nullptr: no
  /// deadline). Returns false on timeout.
  bool wait_for_change(uint64_t seen, const std::chrono::steady_clock::time_point * deadline) const;

  // ---- Topics.

  /// @throws std::runtime_error if the topic carries another message type.
  void add_publisher(const std::shared_ptr<PublisherBase> & publisher);

  /// Also replays the history of transient-local publishers to a transient-local subscription.
  /// @throws std::runtime_error if the topic carries another message type.
  void add_subscription(const std::shared_ptr<SubscriptionBase> & subscription);

  /// The subscriptions a message from `publisher` goes to. `record` runs under the graph
  /// lock, so a transient-local history and late-joiner replay never miss or double a message.
  std::vector<std::shared_ptr<SubscriptionBase>> start_publish(
    const PublisherBase & publisher, const std::function<void()> & record);

  /// Copies a message (of the subscription's type) into the subscription's queue.
  void deliver(SubscriptionBase & subscription, const void * message);

  size_t count_publishers(const std::string & topic_name) const;

  size_t count_subscriptions(const std::string & topic_name) const;

  // ---- Services.

  /// @throws std::runtime_error if the service name has another service type.
  void add_service(const std::shared_ptr<ServiceBase> & service);

  /// @throws std::runtime_error if the service name has another service type.
  void add_client(const std::shared_ptr<ClientBase> & client);

  bool service_is_available(const std::string & service_name) const;

  /// Hands a copy of the request to every server of the client's service; false if none.
  bool send_request(
    const ClientBase & client, const rmw_request_id_t & header, const void * request);

  /// Hands the response to the client that sent the request, if it still exists.
  void send_response(const rmw_request_id_t & header, std::shared_ptr<void> response);

private:
  struct Topic
  {
    InterfaceType type;
    std::vector<std::weak_ptr<PublisherBase>> publishers;
    std::vector<std::weak_ptr<SubscriptionBase>> subscriptions;
  };

  struct Service
  {
    InterfaceType type;
    std::vector<std::weak_ptr<ServiceBase>> services;
    std::vector<std::weak_ptr<ClientBase>> clients;
  };

  Topic & topic_for(const std::string & name, const InterfaceType & type, const char * what);

  Service & service_for(const std::string & name, const InterfaceType & type, const char * what);

  mutable std::mutex wake_mutex_;
  mutable std::condition_variable wake_cv_;
  uint64_t generation_{0};

  mutable std::mutex mutex_;
  std::map<std::string, Topic> topics_;
  std::map<std::string, Service> services_;
  std::map<uint64_t, std::weak_ptr<ClientBase>> clients_by_id_;
};

}  // namespace detail
}  // namespace rclcpp

#endif  // RCLCPP__DETAIL__IN_PROCESS_GRAPH_HPP_
