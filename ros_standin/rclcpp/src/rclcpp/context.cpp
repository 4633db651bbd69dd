#include "rclcpp/context.hpp"

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "rclcpp/contexts/default_context.hpp"
#include "rclcpp/detail/context_registry.hpp"
#include "rclcpp/detail/in_process_graph.hpp"
#include "rclcpp/detail/ros_arguments.hpp"
#include "rclcpp/logging.hpp"

namespace rclcpp
{

namespace detail
{
namespace
{

struct ContextRegistry
{
  std::mutex mutex;
  std::vector<std::weak_ptr<rclcpp::Context>> contexts;
};

ContextRegistry & registry()
{
  static ContextRegistry instance;
  return instance;
}

}  // namespace

void register_initialized_context(const rclcpp::Context::SharedPtr & context)
{
  auto & reg = registry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  reg.contexts.push_back(context);
}

void unregister_context(const rclcpp::Context * context)
{
  auto & reg = registry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  reg.contexts.erase(
    std::remove_if(
      reg.contexts.begin(), reg.contexts.end(),
      [context](const std::weak_ptr<rclcpp::Context> & weak) {
        auto strong = weak.lock();
        return !strong || strong.get() == context;
      }),
    reg.contexts.end());
}

std::vector<rclcpp::Context::SharedPtr> get_initialized_contexts()
{
  auto & reg = registry();
  std::lock_guard<std::mutex> lock(reg.mutex);
  std::vector<rclcpp::Context::SharedPtr> result;
  for (const auto & weak : reg.contexts) {
    if (auto strong = weak.lock()) {
      result.push_back(strong);
    }
  }
  return result;
}

std::shared_ptr<const RosArguments> get_global_ros_arguments(const rclcpp::Context & context)
{
  std::lock_guard<std::recursive_mutex> lock(context.init_mutex_);
  return context.global_arguments_;
}

std::shared_ptr<InProcessGraph> get_in_process_graph(const rclcpp::Context & context)
{
  return context.graph_;
}

}  // namespace detail

Context::Context()
: graph_(std::make_shared<detail::InProcessGraph>())
{
}

Context::~Context()
{
  std::lock_guard<std::recursive_mutex> lock(init_mutex_);
  try {
    this->shutdown("context destructor was called while still not shutdown");
    this->clean_up();
  } catch (const std::exception & exc) {
    RCLCPP_ERROR(rclcpp::get_logger("rclcpp"), "unhandled exception in ~Context(): %s", exc.what());
  } catch (...) {
    RCLCPP_ERROR(rclcpp::get_logger("rclcpp"), "unhandled exception in ~Context()");
  }
}

void Context::init(int argc, char const * const * argv, const rclcpp::InitOptions & init_options)
{
  std::lock_guard<std::recursive_mutex> init_lock(init_mutex_);
  if (this->is_valid()) {
    throw rclcpp::ContextAlreadyInitialized();
  }
  this->clean_up();
  // Parsed before the context becomes valid: a bad --ros-args section leaves it
  // uninitialized, as a failing rcl_init does.
  global_arguments_ =
    std::make_shared<const detail::RosArguments>(detail::parse_ros_arguments(argc, argv));
  init_options_ = init_options;
  valid_.store(true);
  detail::register_initialized_context(this->shared_from_this());
}

bool Context::is_valid() const
{
  return valid_.load();
}

const rclcpp::InitOptions & Context::get_init_options() const
{
  return init_options_;
}

std::string Context::shutdown_reason() const
{
  std::lock_guard<std::recursive_mutex> lock(init_mutex_);
  return shutdown_reason_;
}

bool Context::shutdown(const std::string & reason)
{
  std::lock_guard<std::recursive_mutex> init_lock(init_mutex_);
  if (!this->is_valid()) {
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(pre_shutdown_callbacks_mutex_);
    for (const auto & callback : pre_shutdown_callbacks_) {
      (*callback)();
    }
  }
  valid_.store(false);
  shutdown_reason_ = reason;
  {
    // Held while the callbacks run, as upstream: adding or removing an on-shutdown
    // callback from inside one deadlocks there too.
    std::lock_guard<std::mutex> lock(on_shutdown_callbacks_mutex_);
    for (const auto & callback : on_shutdown_callbacks_) {
      (*callback)();
    }
  }
  this->interrupt_all_sleep_for();
  // Waits that only watch rclcpp::ok() (wait_for_service) have no guard condition.
  graph_->notify();
  detail::unregister_context(this);
  return true;
}

Context::OnShutdownCallback Context::on_shutdown(OnShutdownCallback callback)
{
  add_on_shutdown_callback(callback);
  return callback;
}

ShutdownCallbackHandle Context::add_callback(
  CallbackList & list, std::mutex & mutex, ShutdownCallbackHandle::ShutdownCallbackType callback)
{
  auto callback_shared_ptr =
    std::make_shared<ShutdownCallbackHandle::ShutdownCallbackType>(std::move(callback));
  {
    std::lock_guard<std::mutex> lock(mutex);
    list.push_back(callback_shared_ptr);
  }
  ShutdownCallbackHandle handle;
  handle.callback = callback_shared_ptr;
  return handle;
}

bool Context::remove_callback(
  CallbackList & list, std::mutex & mutex, const ShutdownCallbackHandle & handle)
{
  auto callback_shared_ptr = handle.callback.lock();
  if (!callback_shared_ptr) {
    return false;
  }
  std::lock_guard<std::mutex> lock(mutex);
  auto it = std::find(list.begin(), list.end(), callback_shared_ptr);
  if (it == list.end()) {
    return false;
  }
  list.erase(it);
  return true;
}

std::vector<ShutdownCallbackHandle::ShutdownCallbackType> Context::copy_callbacks(
  const CallbackList & list, std::mutex & mutex)
{
  std::vector<ShutdownCallbackHandle::ShutdownCallbackType> callbacks;
  std::lock_guard<std::mutex> lock(mutex);
  for (const auto & callback : list) {
    callbacks.push_back(*callback);
  }
  return callbacks;
}

OnShutdownCallbackHandle Context::add_on_shutdown_callback(OnShutdownCallback callback)
{
  return add_callback(on_shutdown_callbacks_, on_shutdown_callbacks_mutex_, std::move(callback));
}

bool Context::remove_on_shutdown_callback(const OnShutdownCallbackHandle & callback_handle)
{
  return remove_callback(on_shutdown_callbacks_, on_shutdown_callbacks_mutex_, callback_handle);
}

PreShutdownCallbackHandle Context::add_pre_shutdown_callback(PreShutdownCallback callback)
{
  return add_callback(pre_shutdown_callbacks_, pre_shutdown_callbacks_mutex_, std::move(callback));
}

bool Context::remove_pre_shutdown_callback(const PreShutdownCallbackHandle & callback_handle)
{
  return remove_callback(pre_shutdown_callbacks_, pre_shutdown_callbacks_mutex_, callback_handle);
}

std::vector<Context::OnShutdownCallback> Context::get_on_shutdown_callbacks() const
{
  return copy_callbacks(on_shutdown_callbacks_, on_shutdown_callbacks_mutex_);
}

std::vector<Context::PreShutdownCallback> Context::get_pre_shutdown_callbacks() const
{
  return copy_callbacks(pre_shutdown_callbacks_, pre_shutdown_callbacks_mutex_);
}

bool Context::sleep_for(const std::chrono::nanoseconds & nanoseconds)
{
  std::chrono::nanoseconds time_left = nanoseconds;
  {
    std::unique_lock<std::mutex> lock(interrupt_mutex_);
    auto start = std::chrono::steady_clock::now();
    // A spurious wake-up or a shutdown ends this wait early; the loop below tells them apart.
    interrupt_condition_variable_.wait_for(lock, nanoseconds);
    time_left -= std::chrono::steady_clock::now() - start;
  }
  if (time_left > std::chrono::nanoseconds::zero() && this->is_valid()) {
    return sleep_for(time_left);
  }
  return this->is_valid();
}

void Context::interrupt_all_sleep_for()
{
  // Not under interrupt_mutex_, as upstream: a sleep that is just starting can miss it.
  interrupt_condition_variable_.notify_all();
}

void Context::clean_up()
{
  shutdown_reason_ = "";
  global_arguments_.reset();
}

namespace contexts
{

DefaultContext::DefaultContext() {}

DefaultContext::SharedPtr get_global_default_context()
{
  // The registry is touched first so that it is destroyed after the default context, whose
  // destructor (at exit, if nobody shut it down) unregisters from it.
  detail::get_initialized_contexts();
  static DefaultContext::SharedPtr default_context = DefaultContext::make_shared();
  return default_context;
}

}  // namespace contexts
}  // namespace rclcpp
