#ifndef RCLCPP__CLIENT_HPP_
#define RCLCPP__CLIENT_HPP_

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "rclcpp/context.hpp"
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
class NodeGraphInterface;
}  // namespace node_interfaces

namespace detail
{

/// @brief A future together with the sequence number of the request it belongs to.
template<typename FutureT>
struct FutureAndRequestId
{
  FutureT future;
  int64_t request_id;

  FutureAndRequestId(FutureT impl, int64_t req_id)
  : future(std::move(impl)),
    request_id(req_id)
  {
  }

  auto get() { return this->future.get(); }
  bool valid() const noexcept { return this->future.valid(); }
  void wait() const { return this->future.wait(); }

  template<class Rep, class Period>
  std::future_status wait_for(const std::chrono::duration<Rep, Period> & timeout_duration) const
  {
    return this->future.wait_for(timeout_duration);
  }

  template<class Clock, class Duration>
  std::future_status wait_until(const std::chrono::time_point<Clock, Duration> & timeout_time) const
  {
    return this->future.wait_until(timeout_time);
  }

  FutureAndRequestId(FutureAndRequestId && other) noexcept = default;
  FutureAndRequestId(const FutureAndRequestId & other) = delete;
  FutureAndRequestId & operator=(FutureAndRequestId && other) noexcept = default;
  FutureAndRequestId & operator=(const FutureAndRequestId & other) = delete;
  ~FutureAndRequestId() = default;
};

}  // namespace detail

/// @brief The type-independent part of a client: its service name and the responses waiting
/// for the serving executor.
class ClientBase
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS_NOT_COPYABLE(ClientBase)

  /// @brief Resolves the service name in the node's namespace.
  ClientBase(
    rclcpp::node_interfaces::NodeBaseInterface * node_base,
    std::shared_ptr<rclcpp::node_interfaces::NodeGraphInterface> node_graph,
    const std::string & service_name, const rclcpp::detail::InterfaceType & service_type);

  virtual ~ClientBase();

  /// @brief The fully resolved service name.
  const char * get_service_name() const;

  /// @brief True if a server for the service exists.
  bool service_is_ready() const;

  /// @brief Waits until a server exists, the timeout passes (negative: no timeout) or the
  /// context shuts down.
  /// @return true if a server exists.
  template<typename RepT = int64_t, typename RatioT = std::milli>
  bool wait_for_service(
    std::chrono::duration<RepT, RatioT> timeout = std::chrono::duration<RepT, RatioT>(-1))
  {
    return wait_for_service_nanoseconds(
      std::chrono::duration_cast<std::chrono::nanoseconds>(timeout));
  }

  /// @brief Marks the client as used by a wait set; returns the previous state.
  bool exchange_in_use_by_wait_set_state(bool in_use_state);

protected:
  bool wait_for_service_nanoseconds(std::chrono::nanoseconds timeout);

  /// The header of the next request: this client's id and a new sequence number.
  rmw_request_id_t next_request_header();

  virtual void enqueue_response(int64_t sequence_number, std::shared_ptr<void> response) = 0;

  virtual bool has_response() const = 0;

  /// Completes the future (and runs the callback) of the oldest response.
  virtual void take_and_handle() = 0;

  std::shared_ptr<rclcpp::detail::InProcessGraph> graph_;
  rclcpp::Context::SharedPtr context_;
  std::string service_name_;

private:
  RCLCPP_DISABLE_COPY(ClientBase)

  friend class rclcpp::detail::InProcessGraph;
  friend class rclcpp::Executor;

  rclcpp::detail::InterfaceType service_type_;
  uint64_t client_id_;
  std::atomic<int64_t> sequence_number_{0};
  std::atomic<bool> in_use_by_wait_set_{false};
};

/// @brief A service client; responses are handled on the executor serving its callback group.
template<typename ServiceT>
class Client : public ClientBase
{
public:
  using SharedRequest = typename ServiceT::Request::SharedPtr;
  using SharedResponse = typename ServiceT::Response::SharedPtr;

  using Promise = std::promise<SharedResponse>;
  using SharedPromise = std::shared_ptr<Promise>;

  using Future = std::future<SharedResponse>;
  using SharedFuture = std::shared_future<SharedResponse>;

  using CallbackType = std::function<void(SharedFuture)>;

  RCLCPP_SMART_PTR_DEFINITIONS(Client)

  /// @brief What async_send_request returns: a std::future and the request id.
  struct FutureAndRequestId : detail::FutureAndRequestId<std::future<SharedResponse>>
  {
    using detail::FutureAndRequestId<std::future<SharedResponse>>::FutureAndRequestId;

    /// @brief The shared future (the future becomes invalid).
    SharedFuture share() noexcept { return this->future.share(); }

    FutureAndRequestId(FutureAndRequestId && other) noexcept = default;
    FutureAndRequestId(const FutureAndRequestId & other) = delete;
    FutureAndRequestId & operator=(FutureAndRequestId && other) noexcept = default;
    FutureAndRequestId & operator=(const FutureAndRequestId & other) = delete;
    ~FutureAndRequestId() = default;
  };

  /// @brief What async_send_request with a callback returns: a shared future and the request id.
  struct SharedFutureAndRequestId : detail::FutureAndRequestId<std::shared_future<SharedResponse>>
  {
    using detail::FutureAndRequestId<std::shared_future<SharedResponse>>::FutureAndRequestId;
  };

  Client(
    rclcpp::node_interfaces::NodeBaseInterface * node_base,
    std::shared_ptr<rclcpp::node_interfaces::NodeGraphInterface> node_graph,
    const std::string & service_name,
    const rmw_qos_profile_t & qos_profile = rmw_qos_profile_services_default)
  : ClientBase(
      node_base, std::move(node_graph), service_name,
      rclcpp::detail::InterfaceType::of<ServiceT>()),
    qos_profile_(qos_profile)
  {
  }

  virtual ~Client() = default;

  /// @brief Sends the request; the future completes when the response has been handled by
  /// the executor serving this client's callback group.
  FutureAndRequestId async_send_request(SharedRequest request)
  {
    Promise promise;
    auto future = promise.get_future();
    int64_t id = send_request(std::move(request), std::move(promise), SharedFuture(), nullptr);
    return FutureAndRequestId(std::move(future), id);
  }

  /// @brief Same; the callback runs with the completed future.
  template<
    typename CallbackT,
    typename std::enable_if<std::is_invocable_v<CallbackT &, SharedFuture>>::type * = nullptr>
  SharedFutureAndRequestId async_send_request(SharedRequest request, CallbackT && cb)
  {
    Promise promise;
    SharedFuture future = promise.get_future().share();
    int64_t id = send_request(
      std::move(request), std::move(promise), future, CallbackType(std::forward<CallbackT>(cb)));
    return SharedFutureAndRequestId(std::move(future), id);
  }

  /// @brief Forgets a pending request; its future never completes. False if unknown.
  bool remove_pending_request(int64_t request_id)
  {
    std::lock_guard<std::mutex> lock(pending_mutex_);
    return pending_requests_.erase(request_id) != 0u;
  }

  /// @brief Forgets every pending request; returns how many there were.
  size_t prune_pending_requests()
  {
    std::lock_guard<std::mutex> lock(pending_mutex_);
    size_t count = pending_requests_.size();
    pending_requests_.clear();
    return count;
  }

private:
  RCLCPP_DISABLE_COPY(Client)

  struct Pending
  {
    Promise promise;
    SharedFuture shared_future;
    CallbackType callback;
  };

  int64_t send_request(
    SharedRequest request, Promise promise, SharedFuture shared_future, CallbackType callback)
  {
    rmw_request_id_t header = next_request_header();
    {
      std::lock_guard<std::mutex> lock(pending_mutex_);
      pending_requests_.emplace(
        header.sequence_number,
        Pending{std::move(promise), std::move(shared_future), std::move(callback)});
    }
    // Without a server the request is lost, as on DDS: the future never completes.
    graph_->send_request(*this, header, request.get());
    return header.sequence_number;
  }

  void enqueue_response(int64_t sequence_number, std::shared_ptr<void> response) override
  {
    std::lock_guard<std::mutex> lock(responses_mutex_);
    responses_.emplace_back(
      sequence_number, std::static_pointer_cast<typename ServiceT::Response>(response));
  }

  bool has_response() const override
  {
    std::lock_guard<std::mutex> lock(responses_mutex_);
    return !responses_.empty();
  }

  void take_and_handle() override
  {
    std::pair<int64_t, SharedResponse> response;
    {
      std::lock_guard<std::mutex> lock(responses_mutex_);
      if (responses_.empty()) {
        return;
      }
      response = std::move(responses_.front());
      responses_.pop_front();
    }
    std::optional<Pending> pending;
    {
      std::lock_guard<std::mutex> lock(pending_mutex_);
      auto it = pending_requests_.find(response.first);
      if (it == pending_requests_.end()) {
        // A second server answered, or the request was removed: nobody waits for it.
        return;
      }
      pending.emplace(std::move(it->second));
      pending_requests_.erase(it);
    }
    pending->promise.set_value(std::move(response.second));
    if (pending->callback) {
      pending->callback(pending->shared_future);
    }
  }

  rmw_qos_profile_t qos_profile_;
  std::mutex pending_mutex_;
  std::map<int64_t, Pending> pending_requests_;
  mutable std::mutex responses_mutex_;
  std::deque<std::pair<int64_t, SharedResponse>> responses_;
};

}  // namespace rclcpp

#endif  // RCLCPP__CLIENT_HPP_
