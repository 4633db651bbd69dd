// The lifecycle as Humble runs it: rcl_lifecycle's default state machine with
// rclcpp_lifecycle's callback handling (results, errors, exceptions, refused
// transitions), publishers that only the base on_activate activates, and
// nav2_util::LifecycleNode's shutdown hook.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <regex>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "lifecycle_msgs/msg/state.hpp"
#include "lifecycle_msgs/msg/transition.hpp"
#include "nav2_util/lifecycle_node.hpp"
#include "nav2_util/node_thread.hpp"
#include "nav2_util/node_utils.hpp"
#include "rclcpp/rclcpp.hpp"
#include "rclcpp_lifecycle/lifecycle_node.hpp"
#include "std_msgs/msg/empty.hpp"

namespace
{

using CallbackReturn = rclcpp_lifecycle::node_interfaces::LifecycleNodeInterface::CallbackReturn;
using StateMsg = lifecycle_msgs::msg::State;
using TransitionMsg = lifecycle_msgs::msg::Transition;

// Each test runs in a fresh context, shut down afterwards.
class RosContext : public ::testing::Test
{
protected:
  void SetUp() override { rclcpp::init(0, nullptr); }

  void TearDown() override { rclcpp::shutdown(); }
};

int count_of(const std::string & haystack, const std::string & needle)
{
  int count = 0;
  for (auto pos = haystack.find(needle); pos != std::string::npos;
       pos = haystack.find(needle, pos + needle.size())) {
    ++count;
  }
  return count;
}

// Records every callback as "<name> from <previous state> in <current state>"
// and returns the result scripted for it (SUCCESS unless told otherwise).
template<typename BaseT>
class Scripted : public BaseT
{
public:
  using BaseT::BaseT;

  std::map<std::string, CallbackReturn> results;
  std::vector<std::string> calls;
  bool call_base_activation = true;

  CallbackReturn on_configure(const rclcpp_lifecycle::State & previous) override
  {
    return record("configure", previous);
  }

  CallbackReturn on_cleanup(const rclcpp_lifecycle::State & previous) override
  {
    return record("cleanup", previous);
  }

  CallbackReturn on_shutdown(const rclcpp_lifecycle::State & previous) override
  {
    return record("shutdown", previous);
  }

  CallbackReturn on_activate(const rclcpp_lifecycle::State & previous) override
  {
    if (call_base_activation) {
      BaseT::on_activate(previous);
    }
    return record("activate", previous);
  }

  CallbackReturn on_deactivate(const rclcpp_lifecycle::State & previous) override
  {
    if (call_base_activation) {
      BaseT::on_deactivate(previous);
    }
    return record("deactivate", previous);
  }

  CallbackReturn on_error(const rclcpp_lifecycle::State & previous) override
  {
    return record("error", previous);
  }

private:
  CallbackReturn record(const std::string & name, const rclcpp_lifecycle::State & previous)
  {
    calls.push_back(
      name + " from " + previous.label() + " in " + this->get_current_state().label());
    auto it = results.find(name);
    return it == results.end() ? CallbackReturn::SUCCESS : it->second;
  }
};

using ScriptedNode = Scripted<rclcpp_lifecycle::LifecycleNode>;

class ThrowingNode : public rclcpp_lifecycle::LifecycleNode
{
public:
  using rclcpp_lifecycle::LifecycleNode::LifecycleNode;

  CallbackReturn on_configure(const rclcpp_lifecycle::State &) override
  {
    throw std::runtime_error("boom");
  }
};

class ThrowingNonStdNode : public rclcpp_lifecycle::LifecycleNode
{
public:
  using rclcpp_lifecycle::LifecycleNode::LifecycleNode;

  CallbackReturn on_configure(const rclcpp_lifecycle::State &) override { throw 42; }
};

// --- the state machine ------------------------------------------------------

using LifecycleStates = RosContext;

TEST_F(LifecycleStates, CallbacksSeeThePreviousPrimaryStateAndRunInTheTransitionState)
{
  auto node = std::make_shared<ScriptedNode>("walker");
  EXPECT_EQ(node->get_current_state().id(), StateMsg::PRIMARY_STATE_UNCONFIGURED);

  EXPECT_EQ(node->configure().id(), StateMsg::PRIMARY_STATE_INACTIVE);
  EXPECT_EQ(node->activate().id(), StateMsg::PRIMARY_STATE_ACTIVE);
  EXPECT_EQ(node->deactivate().id(), StateMsg::PRIMARY_STATE_INACTIVE);
  EXPECT_EQ(node->cleanup().id(), StateMsg::PRIMARY_STATE_UNCONFIGURED);

  EXPECT_EQ(
    node->calls,
    (std::vector<std::string>{
      "configure from unconfigured in configuring", "activate from inactive in activating",
      "deactivate from active in deactivating", "cleanup from inactive in cleaningup"}));
}

TEST_F(LifecycleStates, ShutdownWorksFromEveryPrimaryStateAndSkipsDeactivate)
{
  auto unconfigured = std::make_shared<ScriptedNode>("from_unconfigured");
  EXPECT_EQ(unconfigured->shutdown().id(), StateMsg::PRIMARY_STATE_FINALIZED);

  auto inactive = std::make_shared<ScriptedNode>("from_inactive");
  inactive->configure();
  EXPECT_EQ(inactive->shutdown().id(), StateMsg::PRIMARY_STATE_FINALIZED);

  auto active = std::make_shared<ScriptedNode>("from_active");
  active->configure();
  active->activate();
  EXPECT_EQ(active->shutdown().id(), StateMsg::PRIMARY_STATE_FINALIZED);
  EXPECT_EQ(active->calls.back(), "shutdown from active in shuttingdown");
  EXPECT_EQ(active->calls.size(), 3u);

  // Finalized is final: no second shutdown.
  testing::internal::CaptureStderr();
  EXPECT_EQ(active->shutdown().id(), StateMsg::PRIMARY_STATE_FINALIZED);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(active->calls.size(), 3u);
}

TEST_F(LifecycleStates, FailureLeadsBackAsTheDefaultStateMachineSays)
{
  struct Case
  {
    std::string failing;
    std::vector<uint8_t> transitions;
    uint8_t expected;
  };
  const std::vector<Case> cases{
    {"configure", {TransitionMsg::TRANSITION_CONFIGURE}, StateMsg::PRIMARY_STATE_UNCONFIGURED},
    {"activate",
     {TransitionMsg::TRANSITION_CONFIGURE, TransitionMsg::TRANSITION_ACTIVATE},
     StateMsg::PRIMARY_STATE_INACTIVE},
    {"deactivate",
     {TransitionMsg::TRANSITION_CONFIGURE, TransitionMsg::TRANSITION_ACTIVATE,
      TransitionMsg::TRANSITION_DEACTIVATE},
     StateMsg::PRIMARY_STATE_ACTIVE},
    {"cleanup",
     {TransitionMsg::TRANSITION_CONFIGURE, TransitionMsg::TRANSITION_CLEANUP},
     StateMsg::PRIMARY_STATE_INACTIVE},
    {"shutdown",
     {TransitionMsg::TRANSITION_UNCONFIGURED_SHUTDOWN},
     StateMsg::PRIMARY_STATE_FINALIZED},
  };
  for (const auto & c : cases) {
    auto node = std::make_shared<ScriptedNode>("failing_" + c.failing);
    node->results[c.failing] = CallbackReturn::FAILURE;
    for (auto transition : c.transitions) {
      node->trigger_transition(transition);
    }
    EXPECT_EQ(node->get_current_state().id(), c.expected) << c.failing;
    for (const auto & call : node->calls) {
      EXPECT_NE(call.rfind("error", 0), 0u) << c.failing << ": " << call;
    }
  }
}

TEST_F(LifecycleStates, ErrorRunsOnErrorWhoseResultPicksUnconfiguredOrFinalized)
{
  const std::map<CallbackReturn, uint8_t> on_error_outcome{
    {CallbackReturn::SUCCESS, StateMsg::PRIMARY_STATE_UNCONFIGURED},
    {CallbackReturn::FAILURE, StateMsg::PRIMARY_STATE_FINALIZED},
    {CallbackReturn::ERROR, StateMsg::PRIMARY_STATE_FINALIZED},
  };
  for (const auto & [error_result, expected] : on_error_outcome) {
    auto node = std::make_shared<ScriptedNode>("erring");
    node->configure();
    node->results["activate"] = CallbackReturn::ERROR;
    node->results["error"] = error_result;

    CallbackReturn code = CallbackReturn::SUCCESS;
    testing::internal::CaptureStderr();
    const auto & state = node->activate(code);
    const std::string log = testing::internal::GetCapturedStderr();

    EXPECT_EQ(state.id(), expected);
    // The overload reports the first callback's code, not on_error's.
    EXPECT_EQ(code, CallbackReturn::ERROR);
    EXPECT_EQ(node->calls.back(), "error from inactive in errorprocessing");
    EXPECT_EQ(count_of(log, "Error occurred while doing error handling."), 1) << log;
  }
}

TEST_F(LifecycleStates, ThrowingConfigureIsAnErrorLoggedWithTheTransitionStateId)
{
  auto node = std::make_shared<ThrowingNode>("thrower");

  CallbackReturn code = CallbackReturn::SUCCESS;
  testing::internal::CaptureStderr();
  const auto & state = node->configure(code);
  const std::string log = testing::internal::GetCapturedStderr();

  // The default on_error returns SUCCESS, so the node is back in unconfigured.
  EXPECT_EQ(state.id(), StateMsg::PRIMARY_STATE_UNCONFIGURED);
  EXPECT_EQ(code, CallbackReturn::ERROR);
  EXPECT_NE(
    log.find("[thrower]: Caught exception in callback for transition 10"), std::string::npos)
    << log;
  EXPECT_NE(log.find("[thrower]: Original error: boom"), std::string::npos) << log;
  EXPECT_NE(log.find("Error occurred while doing error handling."), std::string::npos) << log;
}

TEST_F(LifecycleStates, NonStdExceptionEscapesAndLeavesTheNodeInTheTransitionState)
{
  auto node = std::make_shared<ThrowingNonStdNode>("non_std_thrower");
  EXPECT_THROW(node->configure(), int);
  EXPECT_EQ(node->get_current_state().id(), StateMsg::TRANSITION_STATE_CONFIGURING);
  // Stuck: no transition leaves a transition state from the outside.
  testing::internal::CaptureStderr();
  EXPECT_EQ(node->configure().id(), StateMsg::TRANSITION_STATE_CONFIGURING);
  testing::internal::GetCapturedStderr();
}

TEST_F(LifecycleStates, RefusedTransitionKeepsStateAndReturnCodeAndLogsBothLayers)
{
  auto node = std::make_shared<ScriptedNode>("refuser");

  CallbackReturn code = CallbackReturn::FAILURE;
  testing::internal::CaptureStderr();
  const auto & state = node->activate(code);
  const std::string log = testing::internal::GetCapturedStderr();

  EXPECT_EQ(state.id(), StateMsg::PRIMARY_STATE_UNCONFIGURED);
  EXPECT_EQ(code, CallbackReturn::FAILURE);
  EXPECT_TRUE(node->calls.empty());
  EXPECT_NE(
    log.find("[rcl_lifecycle]: No transition matching 3 found for current state unconfigured"),
    std::string::npos)
    << log;
  EXPECT_NE(
    log.find("[refuser]: Unable to start transition 3 from current state unconfigured: "
             "Transition is not registered."),
    std::string::npos)
    << log;
}

TEST_F(LifecycleStates, ReturnedStateIsTheNodesMemberAndFollowsLaterTransitions)
{
  auto node = std::make_shared<ScriptedNode>("holder");
  const rclcpp_lifecycle::State & held = node->configure();
  EXPECT_EQ(held.id(), StateMsg::PRIMARY_STATE_INACTIVE);
  node->activate();
  EXPECT_EQ(held.id(), StateMsg::PRIMARY_STATE_ACTIVE);
  EXPECT_EQ(&held, &node->get_current_state());
}

TEST_F(LifecycleStates, RegisteredCallbackReplacesTheVirtualOne)
{
  auto node = std::make_shared<ScriptedNode>("registered");
  rclcpp_lifecycle::State seen;
  node->register_on_configure([&seen](const rclcpp_lifecycle::State & previous) {
    seen = previous;
    return CallbackReturn::FAILURE;
  });
  EXPECT_EQ(node->configure().id(), StateMsg::PRIMARY_STATE_UNCONFIGURED);
  EXPECT_EQ(seen.label(), "unconfigured");
  EXPECT_TRUE(node->calls.empty());
}

TEST_F(LifecycleStates, AvailableTransitionsLeaveTheCurrentState)
{
  auto node = std::make_shared<ScriptedNode>("explorer");
  std::vector<std::string> labels;
  for (const auto & transition : node->get_available_transitions()) {
    labels.push_back(transition.label() + "->" + transition.goal_state().label());
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"configure->configuring", "shutdown->shuttingdown"}));

  EXPECT_EQ(
    node->trigger_transition(rclcpp_lifecycle::Transition(TransitionMsg::TRANSITION_CONFIGURE))
      .label(),
    "inactive");
}

TEST(LifecycleState, OwnedStatesNeedALabel)
{
  EXPECT_EQ(rclcpp_lifecycle::State().label(), "unknown");
  EXPECT_EQ(rclcpp_lifecycle::State().id(), StateMsg::PRIMARY_STATE_UNKNOWN);
  try {
    rclcpp_lifecycle::State(3, "");
    FAIL() << "an empty label was accepted";
  } catch (const std::runtime_error & e) {
    EXPECT_STREQ(e.what(), "Lifecycle State cannot have an empty label.");
  }
}

// --- managed entities -------------------------------------------------------

class LifecyclePublishers : public RosContext
{
protected:
  // Publishes through the lifecycle publisher and returns how many messages a
  // plain subscriber on the same topic received.
  int deliveries(
    const rclcpp_lifecycle::LifecyclePublisher<std_msgs::msg::Empty>::SharedPtr & pub, int count)
  {
    int received = 0;
    auto listener = std::make_shared<rclcpp::Node>("listener", "/ns");
    auto sub = listener->create_subscription<std_msgs::msg::Empty>(
      "chatter", 10, [&received](std_msgs::msg::Empty::ConstSharedPtr) { ++received; });
    for (int i = 0; i < count; ++i) {
      pub->publish(std_msgs::msg::Empty());
    }
    rclcpp::executors::SingleThreadedExecutor executor;
    executor.add_node(listener);
    // spin_some takes one message per subscription; spin_all drains the queue.
    executor.spin_all(std::chrono::seconds(5));
    return received;
  }
};

TEST_F(LifecyclePublishers, BaseActivationDrivesEveryPublisher)
{
  auto node = std::make_shared<ScriptedNode>("talker", "/ns");
  auto pub = node->create_publisher<std_msgs::msg::Empty>("chatter", 10);
  EXPECT_FALSE(pub->is_activated());
  node->configure();
  EXPECT_FALSE(pub->is_activated());
  node->activate();
  EXPECT_TRUE(pub->is_activated());
  EXPECT_EQ(deliveries(pub, 2), 2);
  node->deactivate();
  EXPECT_FALSE(pub->is_activated());
}

TEST_F(LifecyclePublishers, OverridingOnActivateWithoutTheBaseLeavesPublishersInactive)
{
  auto node = std::make_shared<ScriptedNode>("forgetful", "/ns");
  node->call_base_activation = false;
  auto pub = node->create_publisher<std_msgs::msg::Empty>("chatter", 10);
  node->configure();
  EXPECT_EQ(node->activate().id(), StateMsg::PRIMARY_STATE_ACTIVE);
  EXPECT_FALSE(pub->is_activated());

  testing::internal::CaptureStderr();
  EXPECT_EQ(deliveries(pub, 1), 0);
  testing::internal::GetCapturedStderr();

  pub->on_activate();
  EXPECT_EQ(deliveries(pub, 1), 1);
}

TEST_F(LifecyclePublishers, InactivePublisherDropsAndWarnsOnceUntilActivatedAgain)
{
  auto node = std::make_shared<ScriptedNode>("quiet", "/ns");
  auto pub = node->create_publisher<std_msgs::msg::Empty>("chatter", 10);
  const std::string warning =
    "[LifecyclePublisher]: Trying to publish message on the topic '/ns/chatter', "
    "but the publisher is not activated";

  testing::internal::CaptureStderr();
  EXPECT_EQ(deliveries(pub, 2), 0);
  pub->publish(std::make_unique<std_msgs::msg::Empty>());
  // Deactivating does not rearm the warning.
  pub->on_deactivate();
  pub->publish(std_msgs::msg::Empty());
  std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(count_of(log, warning), 1) << log;

  node->configure();
  node->activate();
  node->deactivate();
  testing::internal::CaptureStderr();
  EXPECT_EQ(deliveries(pub, 2), 0);
  log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(count_of(log, warning), 1) << log;
}

// --- nav2_util::LifecycleNode -----------------------------------------------

using Nav2LifecycleNode = RosContext;
using ScriptedNav2Node = Scripted<nav2_util::LifecycleNode>;

static_assert(
  std::is_same_v<nav2_util::LifecycleNode::SharedPtr, rclcpp_lifecycle::LifecycleNode::SharedPtr>,
  "nav2_util::LifecycleNode keeps rclcpp_lifecycle's pointer aliases");
static_assert(
  std::is_same_v<
    decltype(std::declval<nav2_util::LifecycleNode &>().shared_from_this()),
    std::shared_ptr<nav2_util::LifecycleNode>>,
  "only shared_from_this is nav2_util's own");

TEST_F(Nav2LifecycleNode, ConstructionDeclaresTheHeartbeatAndPrintsTheNotice)
{
  testing::internal::CaptureStderr();
  auto node = std::make_shared<nav2_util::LifecycleNode>("announcer", "/ns");
  const std::string log = testing::internal::GetCapturedStderr();

  EXPECT_NE(
    log.find("\n\tannouncer lifecycle node launched. \n"
             "\tWaiting on external lifecycle transitions to activate\n"
             "\tSee https://design.ros2.org/articles/node_lifecycle.html for more information."),
    std::string::npos)
    << log;
  EXPECT_DOUBLE_EQ(node->get_parameter("bond_heartbeat_period").as_double(), 0.1);
}

TEST_F(Nav2LifecycleNode, ContextShutdownDeactivatesThenCleansUpAPlainNode)
{
  auto node = std::make_shared<ScriptedNav2Node>("leftover");
  node->configure();
  node->activate();

  testing::internal::CaptureStderr();
  rclcpp::shutdown();
  const std::string log = testing::internal::GetCapturedStderr();

  EXPECT_EQ(node->get_current_state().id(), StateMsg::PRIMARY_STATE_UNCONFIGURED);
  EXPECT_EQ(
    node->calls,
    (std::vector<std::string>{
      "configure from unconfigured in configuring", "activate from inactive in activating",
      "deactivate from active in deactivating", "cleanup from inactive in cleaningup"}));
  EXPECT_NE(log.find("Running Nav2 LifecycleNode rcl preshutdown (leftover)"), std::string::npos)
    << log;
}

class PreshutdownFollower : public nav2_util::LifecycleNode
{
public:
  using nav2_util::LifecycleNode::LifecycleNode;

  void on_rcl_preshutdown() override { called = true; }

  bool called = false;
};

TEST_F(Nav2LifecycleNode, OverriddenPreshutdownReplacesTheCleanups)
{
  auto node = std::make_shared<PreshutdownFollower>("follower");
  node->configure();
  node->activate();
  rclcpp::shutdown();
  EXPECT_TRUE(node->called);
  EXPECT_EQ(node->get_current_state().id(), StateMsg::PRIMARY_STATE_ACTIVE);
}

TEST_F(Nav2LifecycleNode, DestroyedNodeLeavesNoPreshutdownCallbackBehind)
{
  auto node = std::make_shared<nav2_util::LifecycleNode>("short_lived");
  node->configure();
  testing::internal::CaptureStderr();
  node.reset();
  rclcpp::shutdown();
  const std::string log = testing::internal::GetCapturedStderr();

  EXPECT_NE(log.find("[short_lived]: Destroying"), std::string::npos) << log;
  EXPECT_EQ(log.find("Running Nav2 LifecycleNode rcl preshutdown"), std::string::npos) << log;
}

class ThrowingNav2Node : public nav2_util::LifecycleNode
{
public:
  using nav2_util::LifecycleNode::LifecycleNode;

  nav2_util::CallbackReturn on_configure(const rclcpp_lifecycle::State &) override
  {
    throw std::runtime_error("no map");
  }
};

TEST_F(Nav2LifecycleNode, ErrorStateOnlyLogsSoAThrowingConfigureEndsUnconfigured)
{
  auto node = std::make_shared<ThrowingNav2Node>("broken");
  testing::internal::CaptureStderr();
  EXPECT_EQ(node->configure().id(), StateMsg::PRIMARY_STATE_UNCONFIGURED);
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(
    log.find("[broken]: Lifecycle node broken does not have error state implemented"),
    std::string::npos)
    << log;
}

TEST_F(Nav2LifecycleNode, PluginTypeThrowsInsteadOfExitingWhenUnset)
{
  auto node = std::make_shared<nav2_util::LifecycleNode>(
    "plugins", "", rclcpp::NodeOptions().parameter_overrides({{"known.plugin", "pkg::Known"}}));
  EXPECT_EQ(nav2_util::get_plugin_type_param(node, "known"), "pkg::Known");

  testing::internal::CaptureStderr();
  try {
    nav2_util::get_plugin_type_param(node, "unknown");
    FAIL() << "an unset plugin type was accepted";
  } catch (const std::runtime_error & e) {
    EXPECT_STREQ(e.what(), "Can not get 'plugin' param value for unknown");
  }
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("Can not get 'plugin' param value for unknown"), std::string::npos) << log;
}

TEST(NodeUtils, NamespacesJoinWithOneSlash)
{
  EXPECT_EQ(nav2_util::add_namespaces("/", "local_costmap"), "/local_costmap");
  EXPECT_EQ(nav2_util::add_namespaces("robot/", "local_costmap"), "/robot/local_costmap");
  EXPECT_EQ(nav2_util::add_namespaces("/robot", "local_costmap"), "/robot/local_costmap");
  EXPECT_TRUE(std::regex_match(
    nav2_util::generate_internal_node_name("my-costmap"), std::regex("my_costmap_[0-9]{8}")));
}

TEST_F(Nav2LifecycleNode, NodeThreadServesTheNodesTimers)
{
  auto node = std::make_shared<nav2_util::LifecycleNode>("threaded");
  std::mutex mutex;
  std::condition_variable fired;
  int ticks = 0;
  auto timer = node->create_wall_timer(std::chrono::milliseconds(1), [&]() {
    std::lock_guard<std::mutex> lock(mutex);
    ++ticks;
    fired.notify_all();
  });
  {
    nav2_util::NodeThread thread(node);
    std::unique_lock<std::mutex> lock(mutex);
    // Generous bound: only a hang guard.
    EXPECT_TRUE(fired.wait_for(lock, std::chrono::seconds(30), [&]() { return ticks >= 2; }));
  }
  // The thread is joined: the executor no longer holds the node.
  auto executor = std::make_shared<rclcpp::executors::SingleThreadedExecutor>();
  EXPECT_NO_THROW(executor->add_node(node->get_node_base_interface()));
}

}  // namespace
