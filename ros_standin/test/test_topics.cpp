// In-process topics and services: name resolution, delivery on the executor that serves the
// subscription's group, the callback forms, queue depth, transient-local late joiners and a
// service round trip.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "geometry_msgs/msg/point.hpp"
#include "rclcpp/rclcpp.hpp"
#include "std_msgs/msg/string.hpp"

using namespace std::chrono_literals;
using std_msgs::msg::String;

namespace
{

constexpr auto kHangGuard = 10s;

// A service type laid out as rosidl generates them.
struct AddTwoInts
{
  struct Request
  {
    using SharedPtr = std::shared_ptr<Request>;
    int64_t a = 0;
    int64_t b = 0;
  };
  struct Response
  {
    using SharedPtr = std::shared_ptr<Response>;
    int64_t sum = 0;
  };
};

String make_string(const std::string & data)
{
  String msg;
  msg.data = data;
  return msg;
}

class TopicsTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    rclcpp::init(0, nullptr);
    node_ = std::make_shared<rclcpp::Node>("topics_test_node", "robot");
    executor_ = std::make_unique<rclcpp::executors::SingleThreadedExecutor>();
    executor_->add_node(node_);
  }

  void TearDown() override
  {
    executor_.reset();
    node_.reset();
    rclcpp::shutdown();
  }

  rclcpp::Node::SharedPtr node_;
  // Created after init: an executor needs an initialized context.
  std::unique_ptr<rclcpp::executors::SingleThreadedExecutor> executor_;
};

// Collects the data of the messages a callback form received.
class Receiver
{
public:
  void on_reference(const String & msg) { received.push_back(msg.data); }
  void on_shared(String::SharedPtr msg) { received.push_back(msg->data); }

  std::vector<std::string> received;
};

}  // namespace

TEST_F(TopicsTest, NamesAreResolvedInTheNodeNamespace)
{
  EXPECT_STREQ(node_->get_namespace(), "/robot");
  EXPECT_STREQ(node_->get_fully_qualified_name(), "/robot/topics_test_node");
  EXPECT_STREQ(node_->get_logger().get_name(), "robot.topics_test_node");

  auto relative = node_->create_publisher<String>("chatter", 10);
  auto absolute = node_->create_publisher<String>("/tf", 10);
  auto private_name = node_->create_publisher<String>("~/status", 10);
  EXPECT_STREQ(relative->get_topic_name(), "/robot/chatter");
  EXPECT_STREQ(absolute->get_topic_name(), "/tf");
  EXPECT_STREQ(private_name->get_topic_name(), "/robot/topics_test_node/status");

  auto root_node = std::make_shared<rclcpp::Node>("root_node");
  EXPECT_STREQ(root_node->get_namespace(), "/");
  EXPECT_STREQ(root_node->get_fully_qualified_name(), "/root_node");
  EXPECT_THROW(
    std::make_shared<rclcpp::Node>("bad-name"), rclcpp::exceptions::InvalidNodeNameError);
  EXPECT_THROW(
    node_->create_publisher<String>("bad//name", 10), rclcpp::exceptions::InvalidTopicNameError);
}

TEST_F(TopicsTest, EveryCallbackFormReceivesTheMessage)
{
  Receiver receiver;
  std::vector<std::string> received;
  using namespace std::placeholders;
  auto by_reference = node_->create_subscription<String>(
    "chatter", 10, [&](const String & msg) { received.push_back("ref:" + msg.data); });
  auto by_const_shared = node_->create_subscription<String>(
    "chatter", 10, [&](String::ConstSharedPtr msg) { received.push_back("const:" + msg->data); });
  auto by_shared = node_->create_subscription<String>(
    "chatter", 10, [&](String::SharedPtr msg) { received.push_back("shared:" + msg->data); });
  auto by_unique = node_->create_subscription<String>(
    "chatter", 10, [&](String::UniquePtr msg) { received.push_back("unique:" + msg->data); });
  auto bound_reference = node_->create_subscription<String>(
    "chatter", 10, std::bind(&Receiver::on_reference, &receiver, _1));
  auto bound_shared = node_->create_subscription<String>(
    "chatter", 10, std::bind(&Receiver::on_shared, &receiver, _1));

  auto publisher = node_->create_publisher<String>("chatter", 10);
  EXPECT_EQ(publisher->get_subscription_count(), 6u);
  publisher->publish(make_string("a"));
  publisher->publish(std::make_unique<String>(make_string("b")));
  executor_->spin_all(kHangGuard);

  std::sort(received.begin(), received.end());
  EXPECT_EQ(
    received,
    (std::vector<std::string>{
      "const:a", "const:b", "ref:a", "ref:b", "shared:a", "shared:b", "unique:a", "unique:b"}));
  std::sort(receiver.received.begin(), receiver.received.end());
  EXPECT_EQ(receiver.received, (std::vector<std::string>{"a", "a", "b", "b"}));
}

TEST_F(TopicsTest, EachSubscriptionGetsItsOwnCopy)
{
  std::string second_saw;
  auto mutating = node_->create_subscription<String>(
    "chatter", 10, [](String::SharedPtr msg) { msg->data = "changed"; });
  auto observing = node_->create_subscription<String>(
    "chatter", 10, [&](const String & msg) { second_saw = msg.data; });
  node_->create_publisher<String>("chatter", 10)->publish(make_string("original"));
  executor_->spin_all(kHangGuard);
  EXPECT_EQ(second_saw, "original");
}

TEST_F(TopicsTest, KeepLastQueueKeepsTheNewestMessages)
{
  std::vector<std::string> received;
  auto sub = node_->create_subscription<String>(
    "chatter", rclcpp::QoS(rclcpp::KeepLast(2)),
    [&](const String & msg) { received.push_back(msg.data); });
  auto publisher = node_->create_publisher<String>("chatter", 10);
  for (const char * data : {"1", "2", "3", "4"}) {
    publisher->publish(make_string(data));
  }
  executor_->spin_all(kHangGuard);
  EXPECT_EQ(received, (std::vector<std::string>{"3", "4"}));
}

TEST_F(TopicsTest, TopicOfAnotherTypeIsRefused)
{
  auto publisher = node_->create_publisher<String>("chatter", 10);
  try {
    node_->create_subscription<geometry_msgs::msg::Point>(
      "chatter", 10, [](const geometry_msgs::msg::Point &) {});
    FAIL() << "expected a type mismatch error";
  } catch (const std::runtime_error & e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("/robot/chatter"), std::string::npos) << what;
    EXPECT_NE(what.find("geometry_msgs::msg::Point"), std::string::npos) << what;
  }
}

TEST_F(TopicsTest, TransientLocalPublisherServesLateJoiners)
{
  auto publisher = node_->create_publisher<String>("/tf_static", rclcpp::QoS(2).transient_local());
  for (const char * data : {"1", "2", "3"}) {
    publisher->publish(make_string(data));
  }

  std::vector<std::string> late_transient_local, late_volatile;
  auto tl_sub = node_->create_subscription<String>(
    "/tf_static", rclcpp::QoS(10).transient_local(),
    [&](const String & msg) { late_transient_local.push_back(msg.data); });
  auto volatile_sub = node_->create_subscription<String>(
    "/tf_static", 10, [&](const String & msg) { late_volatile.push_back(msg.data); });
  executor_->spin_all(kHangGuard);

  EXPECT_EQ(late_transient_local, (std::vector<std::string>{"2", "3"}));
  EXPECT_TRUE(late_volatile.empty());
}

TEST_F(TopicsTest, CallbackRunsOnTheExecutorServingTheSubscriptionGroup)
{
  auto group = node_->create_callback_group(rclcpp::CallbackGroupType::MutuallyExclusive, false);
  rclcpp::SubscriptionOptions options;
  options.callback_group = group;
  std::promise<std::thread::id> callback_thread;
  auto sub = node_->create_subscription<String>(
    "chatter", 10, [&](const String &) { callback_thread.set_value(std::this_thread::get_id()); },
    options);

  rclcpp::executors::SingleThreadedExecutor group_executor;
  group_executor.add_callback_group(group, node_->get_node_base_interface());
  std::promise<std::thread::id> spin_thread;
  std::thread spinner([&]() {
    spin_thread.set_value(std::this_thread::get_id());
    group_executor.spin();
  });

  node_->create_publisher<String>("chatter", 10)->publish(make_string("x"));
  executor_->spin_some();  // serves the default group only

  auto callback_future = callback_thread.get_future();
  ASSERT_EQ(callback_future.wait_for(kHangGuard), std::future_status::ready);
  EXPECT_EQ(callback_future.get(), spin_thread.get_future().get());
  group_executor.cancel();
  spinner.join();
}

TEST_F(TopicsTest, ServiceRoundTrip)
{
  auto service = node_->create_service<AddTwoInts>(
    "add", [](AddTwoInts::Request::SharedPtr request, AddTwoInts::Response::SharedPtr response) {
      response->sum = request->a + request->b;
    });
  auto client = node_->create_client<AddTwoInts>("add");
  EXPECT_STREQ(client->get_service_name(), "/robot/add");
  EXPECT_TRUE(client->wait_for_service(0s));

  auto request = std::make_shared<AddTwoInts::Request>();
  request->a = 2;
  request->b = 3;
  auto result = client->async_send_request(request);
  ASSERT_EQ(
    executor_->spin_until_future_complete(result.future, kHangGuard),
    rclcpp::FutureReturnCode::SUCCESS);
  EXPECT_EQ(result.get()->sum, 5);

  int64_t from_callback = 0;
  auto with_callback = client->async_send_request(
    request,
    [&](rclcpp::Client<AddTwoInts>::SharedFuture future) { from_callback = future.get()->sum; });
  ASSERT_EQ(
    executor_->spin_until_future_complete(with_callback.future, kHangGuard),
    rclcpp::FutureReturnCode::SUCCESS);
  EXPECT_EQ(from_callback, 5);
}

TEST_F(TopicsTest, ServiceCallbackMayTakeTheRequestHeader)
{
  int64_t sequence = 0;
  auto service = node_->create_service<AddTwoInts>(
    "add", [&](
             std::shared_ptr<rmw_request_id_t> header, AddTwoInts::Request::SharedPtr request,
             AddTwoInts::Response::SharedPtr response) {
      sequence = header->sequence_number;
      response->sum = request->a;
    });
  auto client = node_->create_client<AddTwoInts>("add");
  auto result = client->async_send_request(std::make_shared<AddTwoInts::Request>());
  ASSERT_EQ(
    executor_->spin_until_future_complete(result.future, kHangGuard),
    rclcpp::FutureReturnCode::SUCCESS);
  EXPECT_EQ(sequence, result.request_id);
}

TEST_F(TopicsTest, WaitForServiceTimesOutWithoutServer)
{
  auto client = node_->create_client<AddTwoInts>("missing");
  EXPECT_FALSE(client->service_is_ready());
  EXPECT_FALSE(client->wait_for_service(10ms));
}
