#include "rclcpp/detail/in_process_graph.hpp"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "rclcpp/client.hpp"
#include "rclcpp/publisher_base.hpp"
#include "rclcpp/service.hpp"
#include "rclcpp/subscription_base.hpp"

namespace rclcpp
{
namespace detail
{

namespace
{

template<typename T>
std::vector<std::shared_ptr<T>> lock_all(std::vector<std::weak_ptr<T>> & weak_ptrs)
{
  std::vector<std::shared_ptr<T>> result;
  weak_ptrs.erase(
    std::remove_if(
      weak_ptrs.begin(), weak_ptrs.end(),
      [&result](const std::weak_ptr<T> & weak) {
        auto strong = weak.lock();
        if (!strong) {
          return true;
        }
        result.push_back(std::move(strong));
        return false;
      }),
    weak_ptrs.end());
  return result;
}

// Entities register weakly and nothing unregisters them: an entity made with
// make_shared keeps its whole allocation until its last weak reference goes.
// Dropping expired entries on every registration, as rclcpp's callback groups
// do, keeps a node that creates and destroys entities every cycle from growing
// the graph without bound.
template<typename T>
void add_pruning_expired(
  std::vector<std::weak_ptr<T>> & weak_ptrs, const std::shared_ptr<T> & entity)
{
  weak_ptrs.erase(
    std::remove_if(
      weak_ptrs.begin(), weak_ptrs.end(),
      [](const std::weak_ptr<T> & weak) { return weak.expired(); }),
    weak_ptrs.end());
  weak_ptrs.push_back(entity);
}

uint64_t client_id_from(const rmw_request_id_t & header)
{
  uint64_t id = 0;
  std::memcpy(&id, header.writer_guid, sizeof(id));
  return id;
}

}  // namespace

std::string demangle(const char * mangled_name)
{
  int status = 0;
  std::unique_ptr<char, void (*)(void *)> demangled(
    abi::__cxa_demangle(mangled_name, nullptr, nullptr, &status), std::free);
  return status == 0 && demangled ? std::string(demangled.get()) : std::string(mangled_name);
}

size_t history_limit(const rclcpp::QoS & qos)
{
  if (qos.history() == rclcpp::HistoryPolicy::KeepAll) {
    return 0u;
  }
  // Depth 0 (SystemDefaultsQoS is KeepLast(0)) means the middleware's default.
  return qos.depth() > 0u ? qos.depth() : 10u;
}

uint64_t InProcessGraph::generation() const
{
  std::lock_guard<std::mutex> lock(wake_mutex_);
  return generation_;
}

void InProcessGraph::notify()
{
  {
    std::lock_guard<std::mutex> lock(wake_mutex_);
    ++generation_;
  }
  wake_cv_.notify_all();
}

bool InProcessGraph::wait_for_change(
  uint64_t seen, const std::chrono::steady_clock::time_point * deadline) const
{
  std::unique_lock<std::mutex> lock(wake_mutex_);
  auto changed = [this, seen]() { return generation_ != seen; };
  if (deadline == nullptr) {
    wake_cv_.wait(lock, changed);
    return true;
  }
  return wake_cv_.wait_until(lock, *deadline, changed);
}

InProcessGraph::Topic & InProcessGraph::topic_for(
  const std::string & name, const InterfaceType & type, const char * what)
{
  auto it = topics_.find(name);
  if (it == topics_.end()) {
    return topics_.emplace(name, Topic{type, {}, {}}).first->second;
  }
  Topic & topic = it->second;
  if (topic.type.index != type.index) {
    // A topic whose endpoints are all gone may change its type.
    if (lock_all(topic.publishers).empty() && lock_all(topic.subscriptions).empty()) {
      topic.type = type;
    } else {
      throw std::runtime_error(
        "cannot create a " + std::string(what) + " of type '" + type.name + "' on topic '" + name +
        "': it already carries messages of type '" + topic.type.name + "'");
    }
  }
  return topic;
}

InProcessGraph::Service & InProcessGraph::service_for(
  const std::string & name, const InterfaceType & type, const char * what)
{
  auto it = services_.find(name);
  if (it == services_.end()) {
    return services_.emplace(name, Service{type, {}, {}}).first->second;
  }
  Service & service = it->second;
  if (service.type.index != type.index) {
    if (lock_all(service.services).empty() && lock_all(service.clients).empty()) {
      service.type = type;
    } else {
      throw std::runtime_error(
        "cannot create a " + std::string(what) + " of type '" + type.name + "' for service '" +
        name + "': it already has type '" + service.type.name + "'");
    }
  }
  return service;
}

void InProcessGraph::add_publisher(const std::shared_ptr<PublisherBase> & publisher)
{
  std::lock_guard<std::mutex> lock(mutex_);
  add_pruning_expired(
    topic_for(publisher->topic_name_, publisher->message_type_, "publisher").publishers, publisher);
}

void InProcessGraph::add_subscription(const std::shared_ptr<SubscriptionBase> & subscription)
{
  std::lock_guard<std::mutex> lock(mutex_);
  Topic & topic = topic_for(subscription->topic_name_, subscription->message_type_, "subscription");
  add_pruning_expired(topic.subscriptions, subscription);
  if (subscription->qos_.durability() != rclcpp::DurabilityPolicy::TransientLocal) {
    return;
  }
  for (const auto & publisher : lock_all(topic.publishers)) {
    if (publisher->qos_.durability() == rclcpp::DurabilityPolicy::TransientLocal) {
      publisher->replay_history(*subscription);
    }
  }
}

std::vector<std::shared_ptr<SubscriptionBase>> InProcessGraph::start_publish(
  const PublisherBase & publisher, const std::function<void()> & record)
{
  std::lock_guard<std::mutex> lock(mutex_);
  record();
  auto it = topics_.find(publisher.topic_name_);
  if (it == topics_.end()) {
    return {};
  }
  return lock_all(it->second.subscriptions);
}

void InProcessGraph::deliver(SubscriptionBase & subscription, const void * message)
{
  subscription.enqueue(message);
  notify();
}

size_t InProcessGraph::count_publishers(const std::string & topic_name) const
{
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = topics_.find(topic_name);
  if (it == topics_.end()) {
    return 0u;
  }
  const auto & publishers = it->second.publishers;
  return static_cast<size_t>(std::count_if(
    publishers.begin(), publishers.end(),
    [](const std::weak_ptr<PublisherBase> & weak) { return !weak.expired(); }));
}

size_t InProcessGraph::count_subscriptions(const std::string & topic_name) const
{
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = topics_.find(topic_name);
  if (it == topics_.end()) {
    return 0u;
  }
  const auto & subscriptions = it->second.subscriptions;
  return static_cast<size_t>(std::count_if(
    subscriptions.begin(), subscriptions.end(),
    [](const std::weak_ptr<SubscriptionBase> & weak) { return !weak.expired(); }));
}

void InProcessGraph::add_service(const std::shared_ptr<ServiceBase> & service)
{
  {
    std::lock_guard<std::mutex> lock(mutex_);
    add_pruning_expired(
      service_for(service->service_name_, service->service_type_, "service").services, service);
  }
  // Clients blocked in wait_for_service watch for this.
  notify();
}

void InProcessGraph::add_client(const std::shared_ptr<ClientBase> & client)
{
  std::lock_guard<std::mutex> lock(mutex_);
  add_pruning_expired(
    service_for(client->service_name_, client->service_type_, "client").clients, client);
  for (auto it = clients_by_id_.begin(); it != clients_by_id_.end();) {
    it = it->second.expired() ? clients_by_id_.erase(it) : std::next(it);
  }
  clients_by_id_[client->client_id_] = client;
}

bool InProcessGraph::service_is_available(const std::string & service_name) const
{
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = services_.find(service_name);
  if (it == services_.end()) {
    return false;
  }
  const auto & services = it->second.services;
  return std::any_of(services.begin(), services.end(), [](const std::weak_ptr<ServiceBase> & weak) {
    return !weak.expired();
  });
}

bool InProcessGraph::send_request(
  const ClientBase & client, const rmw_request_id_t & header, const void * request)
{
  std::vector<std::shared_ptr<ServiceBase>> servers;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = services_.find(client.service_name_);
    if (it != services_.end()) {
      servers = lock_all(it->second.services);
    }
  }
  for (const auto & server : servers) {
    server->enqueue_request(header, request);
  }
  if (!servers.empty()) {
    notify();
  }
  return !servers.empty();
}

void InProcessGraph::send_response(const rmw_request_id_t & header, std::shared_ptr<void> response)
{
  std::shared_ptr<ClientBase> client;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = clients_by_id_.find(client_id_from(header));
    if (it == clients_by_id_.end()) {
      return;
    }
    client = it->second.lock();
    if (!client) {
      clients_by_id_.erase(it);
      return;
    }
  }
  client->enqueue_response(header.sequence_number, std::move(response));
  notify();
}

}  // namespace detail
}  // namespace rclcpp
