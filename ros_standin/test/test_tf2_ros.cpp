// The tf2_ros behaviour the library relies on: transforms travel from the
// broadcasters through a listener into a Buffer, canTransform with a timeout
// refuses to wait without a dedicated thread and always reports how long it
// took, and the timers of waitForTransform run where CreateTimerROS puts them.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "geometry_msgs/msg/pose_stamped.hpp"
#include "geometry_msgs/msg/transform_stamped.hpp"
#include "rclcpp/rclcpp.hpp"
#include "tf2/exceptions.h"
#include "tf2/time.h"
#include "tf2_geometry_msgs/tf2_geometry_msgs.hpp"
#include "tf2_ros/buffer.h"
#include "tf2_ros/create_timer_ros.h"
#include "tf2_ros/static_transform_broadcaster.h"
#include "tf2_ros/transform_broadcaster.h"
#include "tf2_ros/transform_listener.h"

using namespace std::chrono_literals;

namespace
{

// Hang guard only: every wait below normally ends in milliseconds.
constexpr auto kGuard = 20s;

geometry_msgs::msg::TransformStamped makeTransform(
  const std::string & parent, const std::string & child, double x,
  const builtin_interfaces::msg::Time & stamp = builtin_interfaces::msg::Time())
{
  geometry_msgs::msg::TransformStamped t;
  t.header.stamp = stamp;
  t.header.frame_id = parent;
  t.child_frame_id = child;
  t.transform.translation.x = x;
  return t;
}

// Matches the text Buffer::canTransform appends to errstr on every return.
std::regex suffixFor(const std::string & timeout)
{
  return std::regex("\\. canTransform returned after [0-9.e+-]+ timeout was " + timeout + "\\.$");
}

// The seconds the appended text reports, as the caller would read them.
double reportedSeconds(const std::string & errstr)
{
  std::smatch m;
  const std::regex re("canTransform returned after ([0-9.e+-]+) timeout was");
  if (!std::regex_search(errstr, m, re)) {
    return -1.0;
  }
  return std::stod(m[1].str());
}

class Tf2RosTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    rclcpp::init(0, nullptr);
    node_ = std::make_shared<rclcpp::Node>("tf2_ros_test");
    buffer_ = std::make_shared<tf2_ros::Buffer>(node_->get_clock());
  }

  void TearDown() override
  {
    buffer_.reset();
    node_.reset();
    rclcpp::shutdown();
  }

  rclcpp::Node::SharedPtr node_;
  std::shared_ptr<tf2_ros::Buffer> buffer_;
};

// Counts what Buffer asks of its timer interface, so a test can tell whether
// waitForTransform made a timer at all.
class CountingTimerInterface : public tf2_ros::CreateTimerInterface
{
public:
  explicit CountingTimerInterface(tf2_ros::CreateTimerInterface::SharedPtr inner)
  : inner_(std::move(inner))
  {
  }

  tf2_ros::TimerHandle createTimer(
    rclcpp::Clock::SharedPtr clock, const tf2::Duration & period,
    tf2_ros::TimerCallbackType callback) override
  {
    ++created;
    return inner_->createTimer(clock, period, callback);
  }
  void cancel(const tf2_ros::TimerHandle & handle) override { inner_->cancel(handle); }
  void reset(const tf2_ros::TimerHandle & handle) override { inner_->reset(handle); }
  void remove(const tf2_ros::TimerHandle & handle) override
  {
    ++removed;
    inner_->remove(handle);
  }

  std::atomic<int> created{0};
  std::atomic<int> removed{0};

private:
  tf2_ros::CreateTimerInterface::SharedPtr inner_;
};

TEST(Tf2RosBuffer, NullClockIsRefused)
{
  try {
    tf2_ros::Buffer buffer(nullptr);
    FAIL() << "a null clock was accepted";
  } catch (const std::invalid_argument & e) {
    EXPECT_STREQ("clock must be a valid instance", e.what());
  }
}

TEST_F(Tf2RosTest, StaticTransformsAreLatchedForAListenerCreatedLater)
{
  tf2_ros::StaticTransformBroadcaster broadcaster(node_);
  broadcaster.sendTransform(makeTransform("map", "odom", 1.0));
  // Same child again: replaces the entry instead of adding one.
  broadcaster.sendTransform(makeTransform("map", "odom", 2.0));
  broadcaster.sendTransform(makeTransform("odom", "base_link", 0.5));

  tf2_ros::TransformListener listener(*buffer_);
  std::string err;
  ASSERT_TRUE(
    buffer_->canTransform("map", "base_link", tf2::TimePointZero, tf2::durationFromSec(20.0), &err))
    << err;
  auto t = buffer_->lookupTransform("map", "base_link", tf2::TimePointZero);
  EXPECT_DOUBLE_EQ(2.5, t.transform.translation.x);
}

TEST_F(Tf2RosTest, DynamicTransformsReachARunningListener)
{
  tf2_ros::TransformListener listener(*buffer_);
  tf2_ros::TransformBroadcaster broadcaster(node_);
  const builtin_interfaces::msg::Time stamp = node_->get_clock()->now();
  broadcaster.sendTransform(std::vector<geometry_msgs::msg::TransformStamped>{
    makeTransform("odom", "base_link", 3.0, stamp),
    makeTransform("base_link", "laser", 0.25, stamp)});

  std::string err;
  ASSERT_TRUE(buffer_->canTransform(
    "odom", "laser", tf2_ros::fromMsg(stamp), tf2::durationFromSec(20.0), &err))
    << err;
  auto t = buffer_->lookupTransform("odom", "laser", tf2_ros::fromMsg(stamp));
  EXPECT_DOUBLE_EQ(3.25, t.transform.translation.x);
}

TEST_F(Tf2RosTest, WithoutADedicatedThreadCanTransformRefusesEvenWhenAvailable)
{
  ASSERT_TRUE(buffer_->setTransform(makeTransform("map", "odom", 1.0), "test", true));

  std::string err;
  EXPECT_FALSE(
    buffer_->canTransform("map", "odom", tf2::TimePointZero, tf2::durationFromSec(0.0), &err));
  EXPECT_EQ(std::string(tf2_ros::threading_error), err);
  EXPECT_NE(std::string::npos, err.find("timeout.  If you have"));

  // The zero-timeout BufferCore query is unaffected...
  EXPECT_TRUE(buffer_->canTransform("map", "odom", tf2::TimePointZero));
  // ...and so is lookupTransform with a timeout: it only complains, then looks up.
  auto t = buffer_->lookupTransform("map", "odom", tf2::TimePointZero, tf2::durationFromSec(1.0));
  EXPECT_DOUBLE_EQ(1.0, t.transform.translation.x);
}

TEST_F(Tf2RosTest, ListenerWithoutSpinThreadDoesNotEnableTimeouts)
{
  tf2_ros::TransformListener listener(*buffer_, node_, false);
  EXPECT_FALSE(buffer_->isUsingDedicatedThread());

  std::string err;
  EXPECT_FALSE(buffer_->canTransform(
    "map", "odom", rclcpp::Time(0, 0, RCL_ROS_TIME), rclcpp::Duration(1, 0), &err));
  EXPECT_EQ(std::string(tf2_ros::threading_error), err);

  // Its subscriptions sit in the node's default group: spinning the node fills the buffer.
  tf2_ros::StaticTransformBroadcaster broadcaster(node_);
  broadcaster.sendTransform(makeTransform("map", "odom", 1.0));
  rclcpp::executors::SingleThreadedExecutor executor;
  executor.add_node(node_);
  const auto deadline = std::chrono::steady_clock::now() + kGuard;
  while (!buffer_->canTransform("map", "odom", tf2::TimePointZero) &&
         std::chrono::steady_clock::now() < deadline) {
    executor.spin_once(100ms);
  }
  EXPECT_TRUE(buffer_->canTransform("map", "odom", tf2::TimePointZero));
}

TEST_F(Tf2RosTest, ListenerWithSpinThreadFillsTheBufferFromItsOwnThread)
{
  tf2_ros::TransformListener listener(*buffer_, node_, true);
  EXPECT_TRUE(buffer_->isUsingDedicatedThread());

  // Nobody spins node_: only the listener's thread can deliver this. Having
  // waited for it also means that thread is inside spin(), so the listener's
  // destructor cannot lose its cancel.
  tf2_ros::StaticTransformBroadcaster broadcaster(node_);
  broadcaster.sendTransform(makeTransform("map", "odom", 1.0));
  std::string err;
  EXPECT_TRUE(
    buffer_->canTransform("map", "odom", tf2::TimePointZero, tf2::durationFromSec(20.0), &err))
    << err;
}

TEST_F(Tf2RosTest, SuccessfulCanTransformStillReportsTheWaitInErrstr)
{
  buffer_->setUsingDedicatedThread(true);
  ASSERT_TRUE(buffer_->setTransform(makeTransform("map", "odom", 1.0), "test", true));

  std::string err;
  EXPECT_TRUE(
    buffer_->canTransform("map", "odom", tf2::TimePointZero, tf2::durationFromSec(1.0), &err));
  // Nothing but the appended text: BufferCore leaves errstr alone on success.
  EXPECT_EQ(0u, err.rfind(". canTransform returned after ", 0)) << err;
  EXPECT_TRUE(std::regex_search(err, suffixFor("1"))) << err;
}

TEST_F(Tf2RosTest, FailedCanTransformKeepsTheReasonAndAppendsTheWait)
{
  buffer_->setUsingDedicatedThread(true);

  std::string err;
  EXPECT_FALSE(
    buffer_->canTransform("map", "odom", tf2::TimePointZero, tf2::durationFromSec(0.05), &err));
  const std::string reason =
    "Invalid frame ID \"map\" passed to canTransform argument target_frame - frame does not exist";
  EXPECT_EQ(0u, err.rfind(reason, 0)) << err;
  EXPECT_TRUE(std::regex_search(err, suffixFor("0.05"))) << err;
  // The timeout is measured on the buffer's clock and actually waited out.
  EXPECT_GE(reportedSeconds(err), 0.05) << err;

  // lookupTransform waits the same way, then throws the BufferCore exception.
  EXPECT_THROW(
    buffer_->lookupTransform("map", "odom", tf2::TimePointZero, tf2::durationFromSec(0.05)),
    tf2::LookupException);
}

TEST_F(Tf2RosTest, CanTransformReturnsAsSoonAsTheTransformArrives)
{
  tf2_ros::TransformListener listener(*buffer_);
  tf2_ros::TransformBroadcaster broadcaster(node_);
  const builtin_interfaces::msg::Time stamp = node_->get_clock()->now();

  // Published from elsewhere while the caller is (most likely) already waiting.
  std::thread publisher([&]() {
    std::this_thread::sleep_for(100ms);
    broadcaster.sendTransform(makeTransform("odom", "base_link", 1.0, stamp));
  });
  std::string err;
  const bool ok = buffer_->canTransform(
    "odom", "base_link", tf2_ros::fromMsg(stamp), tf2::durationFromSec(60.0), &err);
  publisher.join();
  EXPECT_TRUE(ok) << err;
  EXPECT_LT(reportedSeconds(err), 30.0) << err;
  EXPECT_TRUE(std::regex_search(err, suffixFor("60"))) << err;
}

TEST_F(Tf2RosTest, AfterShutdownCanTransformDoesNotWait)
{
  buffer_->setUsingDedicatedThread(true);
  rclcpp::shutdown();

  std::string err;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(
    buffer_->canTransform("map", "odom", tf2::TimePointZero, tf2::durationFromSec(60.0), &err));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
  EXPECT_TRUE(std::regex_search(err, suffixFor("60"))) << err;
}

TEST_F(Tf2RosTest, TransformExpressesAStampedPoseInTheTargetFrame)
{
  buffer_->setUsingDedicatedThread(true);
  ASSERT_TRUE(buffer_->setTransform(makeTransform("map", "odom", 1.0), "test", true));
  geometry_msgs::msg::PoseStamped in;
  in.header.frame_id = "odom";
  in.pose.position.x = 2.0;
  auto out = buffer_->transform(in, "map", tf2::durationFromSec(1.0));
  EXPECT_EQ("map", out.header.frame_id);
  EXPECT_DOUBLE_EQ(3.0, out.pose.position.x);
}

TEST_F(Tf2RosTest, WaitForTransformNeedsATimerInterface)
{
  try {
    buffer_->waitForTransform(
      "map", "odom", tf2::TimePointZero, tf2::durationFromSec(1.0),
      [](const tf2_ros::TransformStampedFuture &) {});
    FAIL() << "no exception without a timer interface";
  } catch (const tf2_ros::CreateTimerInterfaceException & e) {
    EXPECT_STREQ("timer interface not set before call to waitForTransform", e.what());
  }
}

class Tf2RosWaitTest : public Tf2RosTest
{
protected:
  void SetUp() override
  {
    Tf2RosTest::SetUp();
    timers_ = std::make_shared<CountingTimerInterface>(std::make_shared<tf2_ros::CreateTimerROS>(
      node_->get_node_base_interface(), node_->get_node_timers_interface()));
    buffer_->setCreateTimerInterface(timers_);
    executor_ = std::make_shared<rclcpp::executors::SingleThreadedExecutor>();
    executor_->add_node(node_);
    spinner_ = std::thread([this]() { executor_->spin(); });
    // A cancel issued before spin() starts is lost, so wait until it runs.
    const auto deadline = std::chrono::steady_clock::now() + kGuard;
    while (!executor_->is_spinning() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::yield();
    }
  }

  void TearDown() override
  {
    executor_->cancel();
    spinner_.join();
    executor_.reset();
    Tf2RosTest::TearDown();
  }

  std::shared_ptr<CountingTimerInterface> timers_;
  rclcpp::executors::SingleThreadedExecutor::SharedPtr executor_;
  std::thread spinner_;
};

TEST_F(Tf2RosWaitTest, AvailableTransformCompletesAtOnceWithoutATimer)
{
  const auto stamp = tf2::timeFromSec(100.0);
  ASSERT_TRUE(buffer_->setTransform(makeTransform("map", "odom", 1.0, tf2_ros::toMsg(stamp)), "t"));
  int calls = 0;
  auto future = buffer_->waitForTransform(
    "map", "odom", stamp, tf2::durationFromSec(1.0),
    [&calls](const tf2_ros::TransformStampedFuture &) { ++calls; });
  ASSERT_EQ(std::future_status::ready, future.wait_for(0s));
  EXPECT_DOUBLE_EQ(1.0, future.get().transform.translation.x);
  EXPECT_EQ(1, calls);
  EXPECT_EQ(0, timers_->created.load());
}

TEST_F(Tf2RosWaitTest, PendingRequestCompletesWhenTheTransformArrives)
{
  const auto stamp = tf2::timeFromSec(100.0);
  std::promise<void> called;
  auto future = buffer_->waitForTransform(
    "map", "odom", stamp, tf2::durationFromSec(60.0),
    [&called](const tf2_ros::TransformStampedFuture &) { called.set_value(); });
  EXPECT_EQ(1, timers_->created.load());
  ASSERT_EQ(std::future_status::timeout, future.wait_for(0s));

  ASSERT_TRUE(buffer_->setTransform(makeTransform("map", "odom", 2.0, tf2_ros::toMsg(stamp)), "t"));
  ASSERT_EQ(std::future_status::ready, future.wait_for(kGuard));
  EXPECT_DOUBLE_EQ(2.0, future.get().transform.translation.x);
  EXPECT_EQ(std::future_status::ready, called.get_future().wait_for(kGuard));
  // Its timeout timer is gone with it.
  EXPECT_EQ(1, timers_->removed.load());
}

TEST_F(Tf2RosWaitTest, PendingRequestTimesOut)
{
  std::promise<void> called;
  auto future = buffer_->waitForTransform(
    "map", "odom", tf2::timeFromSec(100.0), tf2::durationFromSec(0.05),
    [&called](const tf2_ros::TransformStampedFuture &) { called.set_value(); });
  ASSERT_EQ(std::future_status::ready, future.wait_for(kGuard));
  try {
    future.get();
    FAIL() << "the wait did not time out";
  } catch (const tf2::TimeoutException & e) {
    EXPECT_STREQ("Timed out waiting for transform", e.what());
  }
  EXPECT_EQ(std::future_status::ready, called.get_future().wait_for(kGuard));
}

TEST_F(Tf2RosWaitTest, CancelledRequestIsDroppedWithoutItsCallback)
{
  const auto stamp = tf2::timeFromSec(100.0);
  std::atomic<bool> called{false};
  auto future = buffer_->waitForTransform(
    "map", "odom", stamp, tf2::durationFromSec(60.0),
    [&called](const tf2_ros::TransformStampedFuture &) { called = true; });
  buffer_->cancel(future);
  EXPECT_EQ(1, timers_->removed.load());
  ASSERT_TRUE(buffer_->setTransform(makeTransform("map", "odom", 2.0, tf2_ros::toMsg(stamp)), "t"));
  EXPECT_FALSE(called);
  // Dropping the request and its timer drops the last owners of the promise:
  // the future is left broken rather than pending.
  ASSERT_EQ(std::future_status::ready, future.wait_for(0s));
  try {
    future.get();
    FAIL() << "a cancelled request delivered a transform";
  } catch (const std::future_error & e) {
    EXPECT_EQ(std::future_errc::broken_promise, e.code());
  }
}

TEST_F(Tf2RosTest, CreateTimerRosNamesTheCallOfAnUnknownHandle)
{
  tf2_ros::CreateTimerROS timers(
    node_->get_node_base_interface(), node_->get_node_timers_interface());
  auto expectText = [](const std::function<void()> & call, const char * text) {
    try {
      call();
      ADD_FAILURE() << "no exception, expected: " << text;
    } catch (const tf2_ros::InvalidTimerHandleException & e) {
      EXPECT_STREQ(text, e.what());
    }
  };
  expectText([&]() { timers.cancel(42); }, "Invalid timer handle in cancel()");
  expectText([&]() { timers.reset(42); }, "Invalid timer handle in reset()");
  expectText([&]() { timers.remove(42); }, "Invalid timer handle in remove()");

  // A removed handle is unknown from then on.
  auto handle = timers.createTimer(node_->get_clock(), 1h, [](const tf2_ros::TimerHandle &) {});
  EXPECT_NO_THROW(timers.reset(handle));
  EXPECT_NO_THROW(timers.remove(handle));
  expectText([&]() { timers.cancel(handle); }, "Invalid timer handle in cancel()");
}

TEST_F(Tf2RosTest, CreateTimerRosTimersRunOnlyWhereTheirGroupIsServed)
{
  auto group = node_->create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false);
  tf2_ros::CreateTimerROS timers(
    node_->get_node_base_interface(), node_->get_node_timers_interface(), group);
  std::promise<tf2_ros::TimerHandle> fired;
  std::atomic<bool> first{true};
  auto handle = timers.createTimer(
    node_->get_clock(), tf2::durationFromSec(0.001), [&](const tf2_ros::TimerHandle & h) {
      if (first.exchange(false)) {
        fired.set_value(h);
      }
    });
  auto fired_future = fired.get_future();

  // An executor that only has the node serves the node's default group...
  std::promise<void> default_fired;
  int default_calls = 0;
  auto default_timer = node_->create_wall_timer(1ms, [&]() {
    if (++default_calls == 3) {
      default_fired.set_value();
    }
  });
  rclcpp::executors::SingleThreadedExecutor node_executor;
  node_executor.add_node(node_);
  ASSERT_EQ(
    rclcpp::FutureReturnCode::SUCCESS,
    node_executor.spin_until_future_complete(default_fired.get_future(), kGuard));
  // ...but never the group the transform timer was put in.
  EXPECT_EQ(std::future_status::timeout, fired_future.wait_for(0s));
  default_timer->cancel();

  rclcpp::executors::SingleThreadedExecutor group_executor;
  group_executor.add_callback_group(group, node_->get_node_base_interface());
  ASSERT_EQ(
    rclcpp::FutureReturnCode::SUCCESS,
    group_executor.spin_until_future_complete(fired_future, kGuard));
  EXPECT_EQ(handle, fired_future.get());
  timers.remove(handle);
}

TEST_F(Tf2RosTest, ShutdownReleasesAListenerDestroyedBeforeItsThreadSpun)
{
  // Upstream pitfall: a listener destroyed right after construction may lose
  // its executor's cancel (if its thread has not reached spin() yet) and then
  // hang in join(). Whether it hangs is a race, so this only checks the way
  // out: a shutdown ends the listener's spin, and the destructor returns.
  auto destroyed = std::async(std::launch::async, [this]() {
    for (int i = 0; i < 20 && rclcpp::ok(); ++i) {
      tf2_ros::TransformListener listener(*buffer_);
    }
  });
  if (destroyed.wait_for(2s) != std::future_status::ready) {
    rclcpp::shutdown();
  }
  ASSERT_EQ(std::future_status::ready, destroyed.wait_for(kGuard));
}

}  // namespace
