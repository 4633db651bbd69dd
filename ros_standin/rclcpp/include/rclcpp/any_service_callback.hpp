#ifndef RCLCPP__ANY_SERVICE_CALLBACK_HPP_
#define RCLCPP__ANY_SERVICE_CALLBACK_HPP_

#include <functional>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "rmw/types.h"

namespace rclcpp
{

/// @brief Holds a service callback, `(request, response)` or `(request_header, request,
/// response)` with shared pointers, and calls it.
template<typename ServiceT>
class AnyServiceCallback
{
public:
  using SharedRequest = std::shared_ptr<typename ServiceT::Request>;
  using SharedResponse = std::shared_ptr<typename ServiceT::Response>;

  /// @brief Stores the callback.
  template<typename CallbackT>
  void set(CallbackT && callback)
  {
    using DecayedT = std::decay_t<CallbackT>;
    if constexpr (std::is_invocable_v<DecayedT &, SharedRequest, SharedResponse>) {
      callback_ = [callback = DecayedT(std::forward<CallbackT>(callback))](
                    const std::shared_ptr<rmw_request_id_t> &, SharedRequest request,
                    SharedResponse response) mutable {
        callback(std::move(request), std::move(response));
      };
    } else if constexpr (std::is_invocable_v<
                           DecayedT &, std::shared_ptr<rmw_request_id_t>, SharedRequest,
                           SharedResponse>) {
      callback_ = [callback = DecayedT(std::forward<CallbackT>(callback))](
                    const std::shared_ptr<rmw_request_id_t> & header, SharedRequest request,
                    SharedResponse response) mutable {
        callback(header, std::move(request), std::move(response));
      };
    } else {
      static_assert(
        std::is_invocable_v<DecayedT &, SharedRequest, SharedResponse>,
        "service callback must take (request, response) or (request_header, request, response)");
    }
  }

  /// @brief Calls the callback; returns the filled-in response.
  SharedResponse dispatch(
    const std::shared_ptr<rmw_request_id_t> & request_header, SharedRequest request)
  {
    if (!callback_) {
      throw std::runtime_error("unexpected request without any callback set");
    }
    auto response = std::make_shared<typename ServiceT::Response>();
    callback_(request_header, std::move(request), response);
    return response;
  }

private:
  std::function<void(const std::shared_ptr<rmw_request_id_t> &, SharedRequest, SharedResponse)>
    callback_;
};

}  // namespace rclcpp

#endif  // RCLCPP__ANY_SERVICE_CALLBACK_HPP_
