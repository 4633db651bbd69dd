// tf2::BufferCore as the costmap relies on it: composition through the tree,
// latest-common-time lookups, interpolation, expiry, and upstream's exact error
// texts and exception types (the library and its tests print and match them).

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "geometry_msgs/msg/pose_stamped.hpp"
#include "geometry_msgs/msg/transform_stamped.hpp"
#include "tf2/LinearMath/Quaternion.h"
#include "tf2/buffer_core.h"
#include "tf2/exceptions.h"
#include "tf2/time.h"
#include "tf2/utils.h"
#include "tf2_geometry_msgs/tf2_geometry_msgs.hpp"

namespace
{

constexpr double kEps = 1e-9;

geometry_msgs::msg::TransformStamped makeTransform(
  const std::string & parent, const std::string & child, double stamp_sec, double x, double y,
  double yaw)
{
  geometry_msgs::msg::TransformStamped t;
  t.header.frame_id = parent;
  t.child_frame_id = child;
  const tf2::TimePoint stamp = tf2::timeFromSec(stamp_sec);
  const auto ns = stamp.time_since_epoch().count();
  t.header.stamp.sec = static_cast<int32_t>(ns / 1000000000);
  t.header.stamp.nanosec = static_cast<uint32_t>(ns % 1000000000);
  t.transform.translation.x = x;
  t.transform.translation.y = y;
  tf2::Quaternion q;
  q.setRPY(0.0, 0.0, yaw);
  t.transform.rotation.x = q.x();
  t.transform.rotation.y = q.y();
  t.transform.rotation.z = q.z();
  t.transform.rotation.w = q.w();
  return t;
}

double yawOf(const geometry_msgs::msg::TransformStamped & t)
{
  return tf2::getYaw(t.transform.rotation);
}

// map -> odom static (1 m ahead, turned 90 degrees), odom -> base_link dynamic.
class BufferCoreTree : public ::testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(
      buffer_.setTransform(makeTransform("map", "odom", 0.0, 1.0, 0.0, M_PI_2), "test", true));
    ASSERT_TRUE(
      buffer_.setTransform(makeTransform("odom", "base_link", 10.0, 0.0, 0.0, 0.0), "test"));
    ASSERT_TRUE(
      buffer_.setTransform(makeTransform("odom", "base_link", 12.0, 2.0, 0.0, M_PI_2), "test"));
  }

  tf2::BufferCore buffer_;
};

}  // namespace

TEST_F(BufferCoreTree, ChainLookupComposesStaticAndDynamicTransforms)
{
  const auto t = buffer_.lookupTransform("map", "base_link", tf2::timeFromSec(12.0));
  // map_T_base = map_T_odom * odom_T_base: (1, 0) + Rot(90deg) * (2, 0) = (1, 2).
  EXPECT_NEAR(t.transform.translation.x, 1.0, kEps);
  EXPECT_NEAR(t.transform.translation.y, 2.0, kEps);
  EXPECT_NEAR(std::fabs(yawOf(t)), M_PI, kEps);
  EXPECT_EQ(t.header.frame_id, "map");
  EXPECT_EQ(t.child_frame_id, "base_link");
  EXPECT_EQ(t.header.stamp.sec, 12);
  EXPECT_EQ(t.header.stamp.nanosec, 0u);
}

TEST_F(BufferCoreTree, ReverseLookupIsTheInverse)
{
  const auto t = buffer_.lookupTransform("base_link", "map", tf2::timeFromSec(10.0));
  // odom_T_base(10) is a pure 0; map_T_base = (1, 0) turned 90deg, so base_T_map
  // maps the map origin to Rot(-90deg) * (-1, 0) = (0, 1).
  EXPECT_NEAR(t.transform.translation.x, 0.0, kEps);
  EXPECT_NEAR(t.transform.translation.y, 1.0, kEps);
  EXPECT_NEAR(yawOf(t), -M_PI_2, kEps);
}

TEST_F(BufferCoreTree, TimePointZeroMeansTheLatestCommonTime)
{
  const auto t = buffer_.lookupTransform("odom", "base_link", tf2::TimePointZero);
  EXPECT_EQ(t.header.stamp.sec, 12);
  EXPECT_NEAR(t.transform.translation.x, 2.0, kEps);

  // The static link contributes no time of its own.
  const auto through_static = buffer_.lookupTransform("map", "base_link", tf2::TimePointZero);
  EXPECT_EQ(through_static.header.stamp.sec, 12);

  std::string err;
  EXPECT_TRUE(buffer_.canTransform("map", "base_link", tf2::TimePointZero, &err));
  EXPECT_TRUE(err.empty());
}

TEST_F(BufferCoreTree, InterpolatesTranslationLinearlyAndRotationBySlerp)
{
  const auto t = buffer_.lookupTransform("odom", "base_link", tf2::timeFromSec(11.0));
  EXPECT_NEAR(t.transform.translation.x, 1.0, kEps);
  EXPECT_NEAR(yawOf(t), M_PI_4, kEps);
  const auto q = t.transform.rotation;
  EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0, kEps);

  const auto quarter = buffer_.lookupTransform("odom", "base_link", tf2::timeFromSec(10.5));
  EXPECT_NEAR(quarter.transform.translation.x, 0.5, kEps);
  EXPECT_NEAR(yawOf(quarter), M_PI_2 / 4.0, kEps);
}

TEST_F(BufferCoreTree, FixedFrameFormComposesTwoTimes)
{
  // Where base_link at 10 s is, seen from base_link at 12 s, through odom.
  const auto t = buffer_.lookupTransform(
    "base_link", tf2::timeFromSec(12.0), "base_link", tf2::timeFromSec(10.0), "odom");
  // base12_T_odom * odom_T_base10: Rot(-90deg) * ((0, 0) - (2, 0)) = (0, 2).
  EXPECT_NEAR(t.transform.translation.x, 0.0, kEps);
  EXPECT_NEAR(t.transform.translation.y, 2.0, kEps);
  EXPECT_NEAR(yawOf(t), -M_PI_2, kEps);
  EXPECT_TRUE(buffer_.canTransform(
    "base_link", tf2::timeFromSec(12.0), "base_link", tf2::timeFromSec(10.0), "odom"));
}

TEST_F(BufferCoreTree, SameSourceAndTargetIsIdentityEvenForUnknownFrames)
{
  std::string err;
  EXPECT_TRUE(buffer_.canTransform("nowhere", "nowhere", tf2::timeFromSec(5.0), &err));
  EXPECT_TRUE(err.empty());
  const auto t = buffer_.lookupTransform("nowhere", "nowhere", tf2::timeFromSec(5.0));
  EXPECT_EQ(t.transform.translation.x, 0.0);
  EXPECT_EQ(t.transform.rotation.w, 1.0);
  EXPECT_EQ(t.header.stamp.sec, 5);
}

TEST_F(BufferCoreTree, CanTransformErrorTextsForBadFrameIds)
{
  const tf2::TimePoint t = tf2::timeFromSec(11.0);
  std::string err;
  EXPECT_FALSE(buffer_.canTransform("nowhere", "base_link", t, &err));
  EXPECT_EQ(
    err,
    "Invalid frame ID \"nowhere\" passed to canTransform argument target_frame - frame "
    "does not exist");

  EXPECT_FALSE(buffer_.canTransform("map", "nowhere", t, &err));
  EXPECT_EQ(
    err,
    "Invalid frame ID \"nowhere\" passed to canTransform argument source_frame - frame "
    "does not exist");

  // The target is checked first, so only its message appears.
  EXPECT_FALSE(buffer_.canTransform("ghost", "nowhere", t, &err));
  EXPECT_EQ(
    err,
    "Invalid frame ID \"ghost\" passed to canTransform argument target_frame - frame "
    "does not exist");

  EXPECT_FALSE(buffer_.canTransform("", "base_link", t, &err));
  EXPECT_EQ(
    err,
    "Invalid frame ID \"\" passed to canTransform argument target_frame - in tf2 "
    "frame_ids cannot be empty");

  EXPECT_FALSE(buffer_.canTransform("map", "/base_link", t, &err));
  EXPECT_EQ(
    err,
    "Invalid frame ID \"/base_link\" passed to canTransform argument source_frame - in "
    "tf2 frame_ids cannot start with a '/'");

  // Without an error string the reason goes to the console instead.
  testing::internal::CaptureStderr();
  EXPECT_FALSE(buffer_.canTransform("nowhere", "base_link", t));
  const std::string console = testing::internal::GetCapturedStderr();
  EXPECT_NE(
    console.find(
      "Warning: Invalid frame ID \"nowhere\" passed to canTransform argument target_frame - "
      "frame does not exist"),
    std::string::npos)
    << console;
}

TEST_F(BufferCoreTree, CanTransformErrorTextForUnconnectedTrees)
{
  ASSERT_TRUE(buffer_.setTransform(makeTransform("world", "camera", 11.0, 0.0, 0.0, 0.0), "test"));
  std::string err;
  EXPECT_FALSE(buffer_.canTransform("map", "camera", tf2::timeFromSec(11.0), &err));
  EXPECT_EQ(
    err,
    "Could not find a connection between 'map' and 'camera' because they are not part of "
    "the same tree.Tf has two or more unconnected trees.");

  // The same with TimePointZero, where the latest-common-time search finds it.
  err.clear();
  EXPECT_FALSE(buffer_.canTransform("map", "camera", tf2::TimePointZero, &err));
  EXPECT_EQ(
    err,
    "Could not find a connection between 'map' and 'camera' because they are not part of "
    "the same tree.Tf has two or more unconnected trees.");
}

TEST_F(BufferCoreTree, CanTransformErrorTextsForExtrapolation)
{
  std::string err;
  EXPECT_FALSE(buffer_.canTransform("map", "base_link", tf2::timeFromSec(13.5), &err));
  EXPECT_EQ(
    err,
    "Lookup would require extrapolation into the future.  Requested time 13.500000 but the "
    "latest data is at time 12.000000, when looking up transform from frame [base_link] to "
    "frame [map]");

  EXPECT_FALSE(buffer_.canTransform("odom", "base_link", tf2::timeFromSec(9.25), &err));
  EXPECT_EQ(
    err,
    "Lookup would require extrapolation into the past.  Requested time 9.250000 but the "
    "earliest data is at time 10.000000, when looking up transform from frame [base_link] to "
    "frame [odom]");

  // A frame with a single sample only answers at exactly that time. Here the
  // failing frame is on the target side of the walk.
  ASSERT_TRUE(buffer_.setTransform(makeTransform("map", "dock", 11.0, 5.0, 0.0, 0.0), "test"));
  EXPECT_FALSE(buffer_.canTransform("dock", "base_link", tf2::timeFromSec(11.5), &err));
  EXPECT_EQ(
    err,
    "Lookup would require extrapolation at time 11.500000, but only time 11.000000 is in "
    "the buffer, when looking up transform from frame [base_link] to frame [dock]");
}

TEST_F(BufferCoreTree, CanTransformLeavesErrorStringAloneOnSuccess)
{
  std::string err = "left over";
  EXPECT_TRUE(buffer_.canTransform("map", "base_link", tf2::timeFromSec(11.0), &err));
  EXPECT_EQ(err, "left over");
}

TEST_F(BufferCoreTree, LookupTransformExceptionTypesAndTexts)
{
  const tf2::TimePoint t = tf2::timeFromSec(11.0);
  try {
    buffer_.lookupTransform("nowhere", "base_link", t);
    FAIL() << "no exception";
  } catch (const tf2::LookupException & e) {
    EXPECT_STREQ(
      e.what(), "\"nowhere\" passed to lookupTransform argument target_frame does not exist. ");
  }
  try {
    buffer_.lookupTransform("map", "nowhere", t);
    FAIL() << "no exception";
  } catch (const tf2::LookupException & e) {
    EXPECT_STREQ(
      e.what(), "\"nowhere\" passed to lookupTransform argument source_frame does not exist. ");
  }
  try {
    buffer_.lookupTransform("", "base_link", t);
    FAIL() << "no exception";
  } catch (const tf2::InvalidArgumentException & e) {
    EXPECT_STREQ(
      e.what(),
      "Invalid argument \"\" passed to lookupTransform argument target_frame - in tf2 "
      "frame_ids cannot be empty");
  }
  try {
    buffer_.lookupTransform("/map", "base_link", t);
    FAIL() << "no exception";
  } catch (const tf2::InvalidArgumentException & e) {
    EXPECT_STREQ(
      e.what(),
      "Invalid argument \"/map\" passed to lookupTransform argument target_frame - in "
      "tf2 frame_ids cannot start with a '/'");
  }
  try {
    buffer_.lookupTransform("map", "base_link", tf2::timeFromSec(20.0));
    FAIL() << "no exception";
  } catch (const tf2::ExtrapolationException & e) {
    EXPECT_STREQ(
      e.what(),
      "Lookup would require extrapolation into the future.  Requested time 20.000000 "
      "but the latest data is at time 12.000000, when looking up transform from frame "
      "[base_link] to frame [map]");
  }

  ASSERT_TRUE(buffer_.setTransform(makeTransform("world", "camera", 11.0, 0.0, 0.0, 0.0), "test"));
  EXPECT_THROW(buffer_.lookupTransform("map", "camera", t), tf2::ConnectivityException);

  // All of them are tf2::TransformException, which is a std::runtime_error.
  EXPECT_THROW(buffer_.lookupTransform("map", "camera", t), tf2::TransformException);
  EXPECT_THROW(buffer_.lookupTransform("nowhere", "camera", t), std::runtime_error);
}

TEST(BufferCore, DynamicDataExpiresAfterCacheTimeButStaticNever)
{
  tf2::BufferCore buffer(tf2::durationFromSec(10.0));
  EXPECT_EQ(buffer.getCacheLength(), std::chrono::seconds(10));
  ASSERT_TRUE(buffer.setTransform(makeTransform("map", "odom", 0.0, 1.0, 0.0, 0.0), "test", true));
  ASSERT_TRUE(buffer.setTransform(makeTransform("odom", "base_link", 0.0, 0.0, 0.0, 0.0), "test"));
  ASSERT_TRUE(buffer.setTransform(makeTransform("odom", "base_link", 20.0, 1.0, 0.0, 0.0), "test"));

  // The 0 s sample is more than 10 s behind the newest one and has been pruned.
  std::string err;
  EXPECT_FALSE(buffer.canTransform("odom", "base_link", tf2::timeFromSec(5.0), &err));
  EXPECT_EQ(
    err,
    "Lookup would require extrapolation at time 5.000000, but only time 20.000000 is in "
    "the buffer, when looking up transform from frame [base_link] to frame [odom]");

  // Data older than the cache keeps is refused with a console warning.
  testing::internal::CaptureStderr();
  EXPECT_FALSE(buffer.setTransform(makeTransform("odom", "base_link", 5.0, 0.0, 0.0, 0.0), "old"));
  const std::string console = testing::internal::GetCapturedStderr();
  EXPECT_NE(
    console.find(
      "Warning: TF_OLD_DATA ignoring data from the past for frame base_link at time 5.000000 "
      "according to authority old"),
    std::string::npos)
    << console;

  // The static transform answers at any time, however far from its stamp.
  EXPECT_TRUE(buffer.canTransform("map", "odom", tf2::timeFromSec(1.0e6)));
  const auto t = buffer.lookupTransform("map", "odom", tf2::timeFromSec(1.0e6));
  EXPECT_NEAR(t.transform.translation.x, 1.0, kEps);
  EXPECT_EQ(t.header.stamp.sec, 1000000);
  // A static-only chain looked up at TimePointZero is stamped zero.
  EXPECT_EQ(buffer.lookupTransform("map", "odom", tf2::TimePointZero).header.stamp.sec, 0);

  // clear() drops dynamic data but keeps static transforms and frame names.
  buffer.clear();
  EXPECT_FALSE(buffer.canTransform("map", "base_link", tf2::TimePointZero));
  EXPECT_TRUE(buffer.canTransform("map", "odom", tf2::TimePointZero));
  EXPECT_TRUE(buffer._frameExists("base_link"));
}

TEST(BufferCore, SetTransformRejectsInvalidInputWithConsoleErrors)
{
  tf2::BufferCore buffer;
  struct Case
  {
    geometry_msgs::msg::TransformStamped transform;
    std::string expected;
  };
  std::vector<Case> cases;
  cases.push_back(
    {makeTransform("odom", "odom", 1.0, 0.0, 0.0, 0.0),
     "Error:   TF_SELF_TRANSFORM: Ignoring transform from authority \"auth\" with frame_id and "
     "child_frame_id  \"odom\" because they are the same"});
  cases.push_back(
    {makeTransform("", "base_link", 1.0, 0.0, 0.0, 0.0),
     "Error:   TF_NO_FRAME_ID: Ignoring transform with child_frame_id \"base_link\"  from "
     "authority \"auth\" because frame_id not set"});
  cases.push_back(
    {makeTransform("odom", "", 1.0, 0.0, 0.0, 0.0),
     "Error:   TF_NO_CHILD_FRAME_ID: Ignoring transform from authority \"auth\" because "
     "child_frame_id not set"});
  auto nan_input = makeTransform("odom", "base_link", 1.0, 0.0, 0.0, 0.0);
  nan_input.transform.translation.y = std::nan("");
  cases.push_back(
    {nan_input,
     "Error:   TF_NAN_INPUT: Ignoring transform for child_frame_id \"base_link\" from "
     "authority \"auth\" because of a nan value in the transform (0.000000 nan 0.000000)"});
  auto zero_quaternion = makeTransform("odom", "base_link", 1.0, 0.0, 0.0, 0.0);
  zero_quaternion.transform.rotation.w = 0.0;
  cases.push_back(
    {zero_quaternion,
     "Error:   TF_DENORMALIZED_QUATERNION: Ignoring transform for child_frame_id "
     "\"base_link\" from authority \"auth\" because of an invalid quaternion"});

  for (const auto & c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(buffer.setTransform(c.transform, "auth"));
    const std::string console = testing::internal::GetCapturedStderr();
    EXPECT_NE(console.find(c.expected), std::string::npos) << console;
  }
  EXPECT_FALSE(buffer._frameExists("base_link"));
  EXPECT_TRUE(buffer.getAllFrameNames().empty());
}

TEST(BufferCore, SetTransformStripsLeadingSlashAndNormalisesScaledQuaternion)
{
  tf2::BufferCore buffer;
  auto t = makeTransform("/odom", "/base_link", 1.0, 0.0, 0.0, 0.0);
  // Upstream builds a tf2::Transform first, whose rotation matrix normalises
  // any non-zero quaternion, so a scaled one is accepted.
  t.transform.rotation.w = 2.0;
  EXPECT_TRUE(buffer.setTransform(t, "auth"));
  EXPECT_TRUE(buffer._frameExists("odom"));
  EXPECT_TRUE(buffer._frameExists("base_link"));
  const auto out = buffer.lookupTransform("odom", "base_link", tf2::timeFromSec(1.0));
  EXPECT_NEAR(out.transform.rotation.w, 1.0, kEps);
}

TEST(BufferCore, TreeWithALoopIsReportedNotWalkedForever)
{
  tf2::BufferCore buffer;
  ASSERT_TRUE(buffer.setTransform(makeTransform("a", "b", 1.0, 1.0, 0.0, 0.0), "test"));
  ASSERT_TRUE(buffer.setTransform(makeTransform("b", "a", 1.0, 1.0, 0.0, 0.0), "test"));
  ASSERT_TRUE(buffer.setTransform(makeTransform("c", "d", 1.0, 1.0, 0.0, 0.0), "test"));

  std::string err;
  EXPECT_FALSE(buffer.canTransform("d", "a", tf2::timeFromSec(1.0), &err));
  EXPECT_EQ(err.rfind("The tf tree is invalid because it contains a loop.\n", 0), 0u) << err;
  EXPECT_NE(err.find("Frame b exists with parent a.\n"), std::string::npos) << err;

  EXPECT_FALSE(buffer.canTransform("d", "a", tf2::TimePointZero, &err));
  EXPECT_EQ(err.rfind("The tf tree is invalid because it contains a loop.\n", 0), 0u) << err;
  EXPECT_THROW(buffer.lookupTransform("d", "a", tf2::timeFromSec(1.0)), tf2::LookupException);
}

TEST(BufferCore, ListsFramesAndTracksTheDedicatedThreadFlag)
{
  tf2::BufferCore buffer;
  ASSERT_TRUE(buffer.setTransform(makeTransform("map", "odom", 0.0, 0.0, 0.0, 0.0), "test", true));
  ASSERT_TRUE(buffer.setTransform(makeTransform("odom", "base_link", 1.0, 0.0, 0.0, 0.0), "test"));

  // Names in order of first appearance: a child is registered before its parent.
  EXPECT_EQ(buffer.getAllFrameNames(), (std::vector<std::string>{"odom", "map", "base_link"}));
  EXPECT_EQ(
    buffer.allFramesAsString(),
    "Frame odom exists with parent map.\nFrame base_link exists with parent odom.\n");
  const std::string yaml = buffer.allFramesAsYAML();
  EXPECT_NE(yaml.find("base_link: \n  parent: 'odom'\n  broadcaster: 'test'\n"), std::string::npos)
    << yaml;

  EXPECT_FALSE(buffer.isUsingDedicatedThread());
  buffer.setUsingDedicatedThread(true);
  EXPECT_TRUE(buffer.isUsingDedicatedThread());
}

TEST(BufferCore, TransformableRequestsFireWhenDataArrives)
{
  tf2::BufferCore buffer;
  ASSERT_TRUE(buffer.setTransform(makeTransform("odom", "base_link", 1.0, 0.0, 0.0, 0.0), "test"));

  std::vector<tf2::TransformableResult> results;
  auto cb = [&results](
              tf2::TransformableRequestHandle, const std::string &, const std::string &,
              tf2::TimePoint, tf2::TransformableResult result) { results.push_back(result); };

  // Available now: handle 0 and no callback.
  EXPECT_EQ(buffer.addTransformableRequest(cb, "odom", "base_link", tf2::timeFromSec(1.0)), 0u);
  // Older than the cache could ever hold: the "never" handle.
  ASSERT_TRUE(buffer.setTransform(makeTransform("odom", "base_link", 30.0, 0.0, 0.0, 0.0), "test"));
  EXPECT_EQ(
    buffer.addTransformableRequest(cb, "odom", "base_link", tf2::timeFromSec(2.0)),
    0xffffffffffffffffULL);

  // Not yet available: fires on the setTransform that makes it so.
  const auto handle =
    buffer.addTransformableRequest(cb, "odom", "base_link", tf2::timeFromSec(31.0));
  ASSERT_NE(handle, 0u);
  const auto cancelled =
    buffer.addTransformableRequest(cb, "odom", "base_link", tf2::timeFromSec(31.0));
  buffer.cancelTransformableRequest(cancelled);
  EXPECT_TRUE(results.empty());
  ASSERT_TRUE(buffer.setTransform(makeTransform("odom", "base_link", 32.0, 0.0, 0.0, 0.0), "test"));
  EXPECT_EQ(results, (std::vector<tf2::TransformableResult>{tf2::TransformAvailable}));
}

TEST(BufferCore, ConcurrentWriterAndReadersStayConsistent)
{
  tf2::BufferCore buffer;
  ASSERT_TRUE(buffer.setTransform(makeTransform("map", "odom", 0.0, 0.0, 0.0, 0.0), "test", true));
  ASSERT_TRUE(buffer.setTransform(makeTransform("odom", "base_link", 1.0, 0.0, 0.0, 0.0), "test"));

  std::atomic<bool> done{false};
  std::thread writer([&buffer, &done]() {
    for (int i = 1; i <= 2000; ++i) {
      buffer.setTransform(
        makeTransform("odom", "base_link", 1.0 + i * 0.01, i * 0.01, 0.0, 0.0), "writer");
    }
    done = true;
  });
  int answered = 0;
  do {
    std::string err;
    if (buffer.canTransform("map", "base_link", tf2::TimePointZero, &err)) {
      const auto t = buffer.lookupTransform("map", "base_link", tf2::TimePointZero);
      EXPECT_GE(t.transform.translation.x, 0.0);
      ++answered;
    } else {
      ADD_FAILURE() << err;
    }
  } while (!done);
  writer.join();
  EXPECT_GT(answered, 0);
  EXPECT_NEAR(
    buffer.lookupTransform("map", "base_link", tf2::TimePointZero).transform.translation.x, 20.0,
    kEps);
}

TEST(Tf2Time, ConversionsMatchUpstreamRounding)
{
  EXPECT_EQ(tf2::durationFromSec(0.1), std::chrono::nanoseconds(100000000));
  EXPECT_EQ(tf2::durationFromSec(-1.5), std::chrono::nanoseconds(-1500000000));
  EXPECT_DOUBLE_EQ(tf2::timeToSec(tf2::timeFromSec(12.25)), 12.25);
  EXPECT_EQ(tf2::displayTimePoint(tf2::timeFromSec(3.5)), "3.500000");
  EXPECT_EQ(tf2::TimePointZero.time_since_epoch().count(), 0);
}

TEST(Tf2GeometryMsgs, RobotPoseFromTransformAndYaw)
{
  tf2::BufferCore buffer;
  ASSERT_TRUE(
    buffer.setTransform(makeTransform("map", "base_link", 1.0, 2.0, 3.0, M_PI_2), "test"));

  // What the costmap does to find the robot: the identity pose in the base
  // frame, transformed into the global frame.
  geometry_msgs::msg::PoseStamped robot_pose;
  robot_pose.header.frame_id = "base_link";
  geometry_msgs::msg::PoseStamped global_pose;
  tf2::doTransform(
    robot_pose, global_pose, buffer.lookupTransform("map", "base_link", tf2::TimePointZero));
  EXPECT_EQ(global_pose.header.frame_id, "map");
  EXPECT_EQ(global_pose.header.stamp.sec, 1);
  EXPECT_NEAR(global_pose.pose.position.x, 2.0, kEps);
  EXPECT_NEAR(global_pose.pose.position.y, 3.0, kEps);
  EXPECT_NEAR(tf2::getYaw(global_pose.pose.orientation), M_PI_2, kEps);
  EXPECT_EQ(tf2::getFrameId(robot_pose), "base_link");

  geometry_msgs::msg::Point p;
  p.x = 1.0;
  geometry_msgs::msg::Point p_out;
  tf2::doTransform(p, p_out, buffer.lookupTransform("map", "base_link", tf2::TimePointZero));
  EXPECT_NEAR(p_out.x, 2.0, kEps);
  EXPECT_NEAR(p_out.y, 4.0, kEps);

  tf2::Quaternion q;
  q.setRPY(0.1, -0.2, 0.3);
  double yaw = 0.0;
  double pitch = 0.0;
  double roll = 0.0;
  tf2::getEulerYPR(q, yaw, pitch, roll);
  EXPECT_NEAR(yaw, 0.3, kEps);
  EXPECT_NEAR(pitch, -0.2, kEps);
  EXPECT_NEAR(roll, 0.1, kEps);
  tf2::Matrix3x3(q).getRPY(roll, pitch, yaw);
  EXPECT_NEAR(yaw, 0.3, kEps);

  const auto identity = tf2::getTransformIdentity<geometry_msgs::msg::Transform>();
  EXPECT_EQ(identity.rotation.w, 1.0);
  EXPECT_EQ(identity.translation.x, 0.0);
}
