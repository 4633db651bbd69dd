// The rclcpp context and executor behaviour that the library relies on, upstream pitfalls
// included: lost cancel before spin, already-spinning texts, association errors, exception
// propagation, shutdown ending spins, and the multi-threaded executor's group rules.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "rclcpp/rclcpp.hpp"
#include "std_msgs/msg/string.hpp"

using namespace std::chrono_literals;

namespace
{

// Generous bound used only so that a broken implementation fails instead of hanging.
constexpr auto kHangGuard = 10s;

template<typename FutureT>
bool ready_within(const FutureT & future, std::chrono::nanoseconds timeout = kHangGuard)
{
  return future.wait_for(timeout) == std::future_status::ready;
}

// Runs fn and returns the what() of the exception it throws ("" if none).
std::string error_of(const std::function<void()> & fn)
{
  try {
    fn();
  } catch (const std::exception & e) {
    return e.what();
  }
  return "";
}

// Spins until the predicate holds; spin_once may return without work (e.g. after a
// guard condition fired), as upstream.
template<typename PredicateT>
bool spin_until(rclcpp::Executor & executor, PredicateT predicate)
{
  const auto deadline = std::chrono::steady_clock::now() + kHangGuard;
  while (!predicate()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    executor.spin_once(10ms);
  }
  return true;
}

// A one-shot flag another thread can wait for.
class Signal
{
public:
  void set()
  {
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = true;
    cv_.notify_all();
  }

  bool wait(std::chrono::nanoseconds timeout = kHangGuard)
  {
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, timeout, [this]() { return set_; });
  }

private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool set_{false};
};

class ExecutorTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    rclcpp::init(0, nullptr);
    node_ = std::make_shared<rclcpp::Node>("executor_test_node", "/ns");
  }

  void TearDown() override
  {
    node_.reset();
    rclcpp::shutdown();
  }

  // A subscription in `group` (nullptr: default group) that runs `callback` per message.
  rclcpp::Subscription<std_msgs::msg::String>::SharedPtr subscribe(
    const std::string & topic, std::function<void(const std_msgs::msg::String &)> callback,
    rclcpp::CallbackGroup::SharedPtr group = nullptr)
  {
    rclcpp::SubscriptionOptions options;
    options.callback_group = group;
    return node_->create_subscription<std_msgs::msg::String>(topic, 10, callback, options);
  }

  void publish(const std::string & topic, const std::string & data = "x")
  {
    auto publisher = node_->create_publisher<std_msgs::msg::String>(topic, 10);
    std_msgs::msg::String msg;
    msg.data = data;
    publisher->publish(msg);
  }

  rclcpp::Node::SharedPtr node_;
};

}  // namespace

TEST(ContextTest, OkOnlyBetweenInitAndShutdown)
{
  auto context = std::make_shared<rclcpp::Context>();
  EXPECT_FALSE(rclcpp::ok(context));
  context->init(0, nullptr);
  EXPECT_TRUE(rclcpp::ok(context));

  EXPECT_EQ(error_of([&]() { context->init(0, nullptr); }), "context is already initialized");
  EXPECT_THROW(context->init(0, nullptr), rclcpp::ContextAlreadyInitialized);

  EXPECT_TRUE(rclcpp::shutdown(context, "done"));
  EXPECT_FALSE(rclcpp::ok(context));
  EXPECT_EQ(context->shutdown_reason(), "done");
  EXPECT_FALSE(rclcpp::shutdown(context));

  // A context may be initialized again after shutdown.
  context->init(0, nullptr);
  EXPECT_TRUE(rclcpp::ok(context));
  context->shutdown("again");
}

TEST(ContextTest, ShutdownRunsPreShutdownThenOnShutdownCallbacks)
{
  auto context = std::make_shared<rclcpp::Context>();
  context->init(0, nullptr);
  std::string order;
  context->add_pre_shutdown_callback(
    [&]() { order += rclcpp::ok(context) ? "pre(valid)," : "pre(invalid),"; });
  context->add_on_shutdown_callback(
    [&]() { order += rclcpp::ok(context) ? "on(valid)" : "on(invalid)"; });
  auto removed = context->add_on_shutdown_callback([&]() { order += ",removed"; });
  EXPECT_TRUE(context->remove_on_shutdown_callback(removed));
  EXPECT_FALSE(context->remove_on_shutdown_callback(removed));

  context->shutdown("test");
  EXPECT_EQ(order, "pre(valid),on(invalid)");
}

TEST(ContextTest, SleepForIsInterruptedByShutdown)
{
  auto context = std::make_shared<rclcpp::Context>();
  context->init(0, nullptr);
  auto sleeper =
    std::async(std::launch::async, [context]() { return rclcpp::sleep_for(1h, context); });
  EXPECT_FALSE(ready_within(sleeper, 50ms));
  context->shutdown("stop sleeping");
  // Upstream notifies outside the sleep's mutex, so a shutdown racing with the start of the
  // sleep can be missed; wake it again until it has seen the shutdown.
  while (!ready_within(sleeper, 10ms)) {
    context->interrupt_all_sleep_for();
  }
  EXPECT_FALSE(sleeper.get());
}

TEST(ContextTest, SleepForOnInvalidContextStillWaitsTheFullTime)
{
  auto context = std::make_shared<rclcpp::Context>();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(rclcpp::sleep_for(50ms, context));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
}

TEST(ContextTest, SleepForOnValidContextReturnsTrue)
{
  auto context = std::make_shared<rclcpp::Context>();
  context->init(0, nullptr);
  EXPECT_TRUE(rclcpp::sleep_for(1ms, context));
  context->shutdown("done");
}

TEST(ContextTest, ExecutorNeedsAnInitializedContext)
{
  rclcpp::ExecutorOptions options;
  options.context = std::make_shared<rclcpp::Context>();
  EXPECT_THROW(
    rclcpp::executors::SingleThreadedExecutor executor(options),
    rclcpp::exceptions::RCLInvalidArgument);
  EXPECT_EQ(
    error_of([&]() {
      rclcpp::executors::SingleThreadedExecutor executor(options);
    }).rfind("failed to create guard condition: ", 0),
    0u);

  options.context->init(0, nullptr);
  options.context->shutdown("done");
  EXPECT_THROW(
    rclcpp::executors::SingleThreadedExecutor executor(options), rclcpp::exceptions::RCLError);
  EXPECT_EQ(
    error_of([&]() { rclcpp::executors::SingleThreadedExecutor executor(options); }),
    "failed to create guard condition: the given context is not valid, either rcl_init() was "
    "not called or rcl_shutdown() was called.");
}

TEST_F(ExecutorTest, CancelBeforeSpinIsLost)
{
  rclcpp::executors::SingleThreadedExecutor executor;
  std::atomic<int> ticks{0};
  Signal ticked_after_cancel;
  auto timer = node_->create_wall_timer(1ms, [&]() {
    if (++ticks == 3) {
      ticked_after_cancel.set();
    }
  });
  executor.add_node(node_);

  executor.cancel();
  auto spinner = std::async(std::launch::async, [&]() { executor.spin(); });

  // The timer keeps firing: spin() overwrote the earlier cancel and is still running.
  ASSERT_TRUE(ticked_after_cancel.wait());
  EXPECT_FALSE(ready_within(spinner, 0ms));
  EXPECT_TRUE(executor.is_spinning());

  executor.cancel();
  ASSERT_TRUE(ready_within(spinner));
  spinner.get();
  EXPECT_FALSE(executor.is_spinning());
}

TEST_F(ExecutorTest, SpinningAgainInsideACallbackThrowsTheUpstreamTexts)
{
  rclcpp::executors::SingleThreadedExecutor executor;
  std::promise<void> never;
  std::string spin_error, spin_some_error, spin_all_error, spin_once_error, until_error;
  auto sub = subscribe("topic", [&](const std_msgs::msg::String &) {
    spin_error = error_of([&]() { executor.spin(); });
    spin_some_error = error_of([&]() { executor.spin_some(); });
    spin_all_error = error_of([&]() { executor.spin_all(1s); });
    spin_once_error = error_of([&]() { executor.spin_once(); });
    until_error =
      error_of([&]() { executor.spin_until_future_complete(never.get_future().share(), 1s); });
  });
  executor.add_node(node_);
  publish("topic");
  executor.spin_some();

  EXPECT_EQ(spin_error, "spin() called while already spinning");
  EXPECT_EQ(spin_some_error, "spin_some() called while already spinning");
  EXPECT_EQ(spin_all_error, "spin_some() called while already spinning");
  EXPECT_EQ(spin_once_error, "spin_once() called while already spinning");
  EXPECT_EQ(until_error, "spin_until_future_complete() called while already spinning");
  EXPECT_EQ(
    error_of([&]() { executor.spin_all(-1ms); }),
    "max_duration must be greater than or equal to 0");
}

TEST_F(ExecutorTest, NodeAndGroupCanOnlyBelongToOneExecutor)
{
  rclcpp::executors::SingleThreadedExecutor first;
  rclcpp::executors::SingleThreadedExecutor second;
  first.add_node(node_);
  EXPECT_EQ(
    error_of([&]() { first.add_node(node_); }),
    "Node '/ns/executor_test_node' has already been added to an executor.");
  EXPECT_EQ(
    error_of([&]() { second.add_node(node_); }),
    "Node '/ns/executor_test_node' has already been added to an executor.");

  auto group = node_->create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false);
  second.add_callback_group(group, node_->get_node_base_interface());
  EXPECT_EQ(
    error_of([&]() { first.add_callback_group(group, node_->get_node_base_interface()); }),
    "Callback group has already been added to an executor.");
}

TEST_F(ExecutorTest, RemoveErrorsNameTheMissingAssociation)
{
  rclcpp::executors::SingleThreadedExecutor first;
  rclcpp::executors::SingleThreadedExecutor second;
  EXPECT_EQ(
    error_of([&]() { first.remove_node(node_); }), "Node needs to be associated with an executor.");
  first.add_node(node_);
  EXPECT_EQ(
    error_of([&]() { second.remove_node(node_); }),
    "Node needs to be associated with this executor.");
  first.remove_node(node_);
  second.add_node(node_);

  auto group = node_->create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false);
  EXPECT_EQ(
    error_of([&]() { first.remove_callback_group(group); }),
    "Callback group needs to be associated with executor.");
}

TEST_F(ExecutorTest, DestroyedExecutorReleasesItsNodesAndGroups)
{
  auto group = node_->create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false);
  {
    rclcpp::executors::SingleThreadedExecutor executor;
    executor.add_node(node_);
    executor.add_callback_group(group, node_->get_node_base_interface());
    EXPECT_TRUE(node_->get_node_base_interface()->get_associated_with_executor_atomic().load());
  }
  EXPECT_FALSE(node_->get_node_base_interface()->get_associated_with_executor_atomic().load());
  EXPECT_FALSE(group->get_associated_with_executor_atomic().load());
  rclcpp::executors::SingleThreadedExecutor other;
  other.add_node(node_);
  other.add_callback_group(group, node_->get_node_base_interface());
}

TEST_F(ExecutorTest, GroupNotAddedAutomaticallyIsServedOnlyViaAddCallbackGroup)
{
  auto group = node_->create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false);
  int received = 0;
  auto sub = subscribe(
    "topic", [&](const std_msgs::msg::String &) { ++received; }, group);
  publish("topic");

  rclcpp::executors::SingleThreadedExecutor node_executor;
  node_executor.add_node(node_);
  node_executor.spin_some();
  EXPECT_EQ(received, 0);
  EXPECT_EQ(node_executor.get_all_callback_groups().size(), 1u);  // the default group only

  rclcpp::executors::SingleThreadedExecutor group_executor;
  group_executor.add_callback_group(group, node_->get_node_base_interface());
  group_executor.spin_some();
  EXPECT_EQ(received, 1);
  // add_callback_group does not associate the node.
  EXPECT_TRUE(node_->get_node_base_interface()->get_associated_with_executor_atomic().load());
  node_executor.remove_node(node_);
  EXPECT_EQ(
    error_of([&]() { group_executor.remove_node(node_); }),
    "Node needs to be associated with an executor.");
}

TEST_F(ExecutorTest, GroupCreatedAfterAddNodeIsPickedUpAtTheNextWait)
{
  rclcpp::executors::SingleThreadedExecutor executor;
  executor.add_node(node_);
  auto group = node_->create_callback_group(rclcpp::CallbackGroupType::Reentrant);
  int received = 0;
  auto sub = subscribe(
    "topic", [&](const std_msgs::msg::String &) { ++received; }, group);
  publish("topic");
  executor.spin_some();
  EXPECT_EQ(received, 1);
  EXPECT_TRUE(group->get_associated_with_executor_atomic().load());
}

TEST_F(ExecutorTest, CallbackGroupsAreHeldWeakly)
{
  auto group = node_->create_callback_group(rclcpp::CallbackGroupType::Reentrant);
  rclcpp::CallbackGroup::WeakPtr weak_group = group;
  group.reset();
  EXPECT_TRUE(weak_group.expired());
  int groups = 0;
  node_->for_each_callback_group([&](rclcpp::CallbackGroup::SharedPtr) { ++groups; });
  EXPECT_EQ(groups, 1);  // the default group
}

TEST_F(ExecutorTest, CallbackExceptionLeavesSpinAndSpinCanBeCalledAgain)
{
  rclcpp::executors::SingleThreadedExecutor executor;
  bool fail = true;
  int handled = 0;
  auto sub = subscribe("topic", [&](const std_msgs::msg::String &) {
    if (fail) {
      throw std::runtime_error("callback failed");
    }
    ++handled;
  });
  executor.add_node(node_);
  publish("topic");
  EXPECT_EQ(error_of([&]() { executor.spin(); }), "callback failed");
  EXPECT_FALSE(executor.is_spinning());

  // The node stays added and its (mutually exclusive) default group is usable again.
  EXPECT_EQ(
    error_of([&]() { executor.add_node(node_); }),
    "Node '/ns/executor_test_node' has already been added to an executor.");
  fail = false;
  publish("topic");
  executor.spin_some();
  EXPECT_EQ(handled, 1);
}

TEST_F(ExecutorTest, ShutdownEndsSpinNormallyAndLaterSpinsReturnAtOnce)
{
  rclcpp::executors::SingleThreadedExecutor executor;
  Signal spinning;
  auto timer = node_->create_wall_timer(1ms, [&]() { spinning.set(); });
  executor.add_node(node_);
  auto spinner = std::async(std::launch::async, [&]() { executor.spin(); });
  ASSERT_TRUE(spinning.wait());

  rclcpp::shutdown();
  ASSERT_TRUE(ready_within(spinner));
  EXPECT_NO_THROW(spinner.get());

  auto again = std::async(std::launch::async, [&]() { executor.spin(); });
  ASSERT_TRUE(ready_within(again));
  again.get();
  std::promise<void> never;
  EXPECT_EQ(
    executor.spin_until_future_complete(never.get_future().share()),
    rclcpp::FutureReturnCode::INTERRUPTED);
}

TEST_F(ExecutorTest, SpinUntilFutureCompleteReportsSuccessAndTimeout)
{
  rclcpp::executors::SingleThreadedExecutor executor;
  executor.add_node(node_);
  std::promise<int> promise;
  auto future = promise.get_future().share();
  auto timer = node_->create_wall_timer(1ms, [&](rclcpp::TimerBase & self) {
    promise.set_value(42);
    self.cancel();
  });
  EXPECT_EQ(executor.spin_until_future_complete(future), rclcpp::FutureReturnCode::SUCCESS);
  EXPECT_EQ(future.get(), 42);

  std::promise<void> never;
  EXPECT_EQ(
    executor.spin_until_future_complete(never.get_future().share(), 10ms),
    rclcpp::FutureReturnCode::TIMEOUT);
}

TEST_F(ExecutorTest, TimerCanBeCanceledAndReset)
{
  rclcpp::executors::SingleThreadedExecutor executor;
  executor.add_node(node_);
  int ticks = 0;
  auto timer = node_->create_wall_timer(1ms, [&](rclcpp::TimerBase & self) {
    ++ticks;
    self.cancel();
  });
  ASSERT_TRUE(spin_until(executor, [&]() { return ticks == 1; }));
  EXPECT_TRUE(timer->is_canceled());
  EXPECT_EQ(timer->time_until_trigger(), std::chrono::nanoseconds::max());
  executor.spin_once(5ms);
  EXPECT_EQ(ticks, 1);

  timer->reset();
  EXPECT_FALSE(timer->is_canceled());
  ASSERT_TRUE(spin_until(executor, [&]() { return ticks == 2; }));
}

TEST_F(ExecutorTest, MultiThreadedExecutorRunsReentrantCallbacksConcurrently)
{
  rclcpp::executors::MultiThreadedExecutor executor(rclcpp::ExecutorOptions(), 2);
  EXPECT_EQ(executor.get_number_of_threads(), 2u);
  auto group = node_->create_callback_group(rclcpp::CallbackGroupType::Reentrant);

  // Each callback waits for the other to arrive: only concurrent execution lets both pass.
  std::mutex mutex;
  std::condition_variable cv;
  int arrived = 0;
  std::atomic<int> met{0};
  auto meet = [&](const std_msgs::msg::String &) {
    std::unique_lock<std::mutex> lock(mutex);
    ++arrived;
    cv.notify_all();
    if (cv.wait_for(lock, kHangGuard, [&]() { return arrived == 2; })) {
      ++met;
    }
  };
  auto sub_a = subscribe("a", meet, group);
  auto sub_b = subscribe("b", meet, group);
  executor.add_node(node_);
  auto spinner = std::async(std::launch::async, [&]() { executor.spin(); });
  publish("a");
  publish("b");
  {
    std::unique_lock<std::mutex> lock(mutex);
    cv.wait_for(lock, kHangGuard, [&]() { return arrived == 2; });
  }
  executor.cancel();
  ASSERT_TRUE(ready_within(spinner));
  spinner.get();
  EXPECT_EQ(met.load(), 2);
}

TEST_F(ExecutorTest, MultiThreadedExecutorNeverOverlapsMutuallyExclusiveCallbacks)
{
  rclcpp::executors::MultiThreadedExecutor executor(rclcpp::ExecutorOptions(), 2);
  auto group = node_->create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive);

  std::mutex mutex;
  std::condition_variable cv;
  int active = 0;
  int max_active = 0;
  int finished = 0;
  auto hold = [&](const std_msgs::msg::String &) {
    std::unique_lock<std::mutex> lock(mutex);
    max_active = std::max(max_active, ++active);
    cv.notify_all();
    // Give the other callback every chance to start meanwhile.
    cv.wait_for(lock, 100ms, [&]() { return active == 2; });
    --active;
    ++finished;
    cv.notify_all();
  };
  auto sub_a = subscribe("a", hold, group);
  auto sub_b = subscribe("b", hold, group);
  executor.add_node(node_);
  auto spinner = std::async(std::launch::async, [&]() { executor.spin(); });
  publish("a");
  publish("b");
  {
    std::unique_lock<std::mutex> lock(mutex);
    cv.wait_for(lock, kHangGuard, [&]() { return finished == 2; });
  }
  executor.cancel();
  ASSERT_TRUE(ready_within(spinner));
  spinner.get();
  EXPECT_EQ(finished, 2);
  EXPECT_EQ(max_active, 1);
}

TEST_F(ExecutorTest, MultiThreadedExecutorWithOneThreadPropagatesCallbackExceptions)
{
  rclcpp::executors::MultiThreadedExecutor executor(rclcpp::ExecutorOptions(), 1);
  auto sub = subscribe(
    "topic", [](const std_msgs::msg::String &) { throw std::runtime_error("callback failed"); });
  executor.add_node(node_);
  publish("topic");
  EXPECT_EQ(error_of([&]() { executor.spin(); }), "callback failed");
  EXPECT_FALSE(executor.is_spinning());
}

TEST_F(ExecutorTest, MultiThreadedExecutorWithSeveralThreadsTerminatesOnCallbackException)
{
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
    {
      rclcpp::executors::MultiThreadedExecutor executor(rclcpp::ExecutorOptions(), 2);
      auto sub = subscribe("topic", [](const std_msgs::msg::String &) {
        throw std::runtime_error("callback failed");
      });
      executor.add_node(node_);
      publish("topic");
      executor.spin();
    },
    "");
}

TEST_F(ExecutorTest, MultiThreadedExecutorDefaultsToAtLeastOneThread)
{
  rclcpp::executors::MultiThreadedExecutor executor;
  EXPECT_GE(executor.get_number_of_threads(), 1u);
}

TEST_F(ExecutorTest, SpinFreeFunctionReturnsOnShutdown)
{
  Signal spinning;
  auto timer = node_->create_wall_timer(1ms, [&]() { spinning.set(); });
  auto spinner = std::async(std::launch::async, [this]() { rclcpp::spin(node_); });
  ASSERT_TRUE(spinning.wait());
  rclcpp::shutdown();
  ASSERT_TRUE(ready_within(spinner));
  spinner.get();
  EXPECT_FALSE(node_->get_node_base_interface()->get_associated_with_executor_atomic().load());
}
