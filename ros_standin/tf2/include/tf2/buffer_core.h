#ifndef TF2__BUFFER_CORE_H_
#define TF2__BUFFER_CORE_H_

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "geometry_msgs/msg/transform_stamped.hpp"
#include "tf2/LinearMath/Transform.h"
#include "tf2/buffer_core_interface.h"
#include "tf2/exceptions.h"
#include "tf2/time.h"
#include "tf2/time_cache.h"
#include "tf2/transform_storage.h"

namespace tf2
{

static constexpr Duration BUFFER_CORE_DEFAULT_CACHE_TIME = std::chrono::seconds(10);

typedef uint64_t TransformableRequestHandle;

enum TransformableResult
{
  TransformAvailable,
  TransformFailure,
};

/// @brief The tree of frames and their buffered transforms, without any ROS
/// communication. Thread-safe: a listener thread may call setTransform while
/// other threads query.
///
/// A frame exists once it has been named as a parent or a child in
/// setTransform. Static transforms are valid at every time and survive clear();
/// dynamic ones are kept for cache_time behind the newest stamp of their frame
/// and interpolated (translation linearly, rotation by slerp) between stamps.
class BufferCore : public BufferCoreInterface
{
public:
  static const uint32_t MAX_GRAPH_DEPTH = 1000UL;

  /// @brief cache_time_: how far behind its newest stamp a dynamic frame keeps data.
  explicit BufferCore(tf2::Duration cache_time_ = BUFFER_CORE_DEFAULT_CACHE_TIME);
  virtual ~BufferCore(void);

  /// @brief Drops every dynamic transform; static ones and frame names stay.
  void clear() override;

  /// @brief Adds one transform. Logs an error (console_bridge style, on
  /// stderr) and returns false for a self transform, an empty frame id, a NaN
  /// or an unnormalised quaternion; logs a warning and returns false for data
  /// older than the frame's cache keeps.
  bool setTransform(
    const geometry_msgs::msg::TransformStamped & transform, const std::string & authority,
    bool is_static = false);

  /// @brief See BufferCoreInterface. TimePointZero means the latest common
  /// time. Throws LookupException, ConnectivityException,
  /// ExtrapolationException or InvalidArgumentException.
  geometry_msgs::msg::TransformStamped lookupTransform(
    const std::string & target_frame, const std::string & source_frame,
    const TimePoint & time) const override;

  geometry_msgs::msg::TransformStamped lookupTransform(
    const std::string & target_frame, const TimePoint & target_time,
    const std::string & source_frame, const TimePoint & source_time,
    const std::string & fixed_frame) const override;

  /// @brief See BufferCoreInterface. True for target == source even if the
  /// frame is unknown. Writes the reason to *error_msg only on failure.
  bool canTransform(
    const std::string & target_frame, const std::string & source_frame, const TimePoint & time,
    std::string * error_msg = nullptr) const override;

  bool canTransform(
    const std::string & target_frame, const TimePoint & target_time,
    const std::string & source_frame, const TimePoint & source_time,
    const std::string & fixed_frame, std::string * error_msg = nullptr) const override;

  std::vector<std::string> getAllFrameNames() const override;

  /// @brief Per frame: parent, broadcaster, rate, newest/oldest stamp, in YAML.
  std::string allFramesAsYAML(TimePoint current_time) const;
  std::string allFramesAsYAML() const;
  /// @brief One line per frame: "Frame <child> exists with parent <parent>.".
  std::string allFramesAsString() const;

  using TransformableCallback = std::function<void(
    TransformableRequestHandle request_handle, const std::string & target_frame,
    const std::string & source_frame, TimePoint time, TransformableResult result)>;

  /// @brief Internal use (tf2_ros::Buffer::waitForTransform). Returns 0 if the
  /// transform is available now, 0xffffffffffffffff if it never can be (too
  /// old), otherwise a handle; cb then runs on the thread that calls
  /// setTransform once the transform is available or has become too old.
  TransformableRequestHandle addTransformableRequest(
    const TransformableCallback & cb, const std::string & target_frame,
    const std::string & source_frame, TimePoint time);
  void cancelTransformableRequest(TransformableRequestHandle handle);

  /// @brief tf2_ros::TransformListener sets this when it fills the buffer from
  /// its own thread; tf2_ros::Buffer refuses to wait without it.
  void setUsingDedicatedThread(bool value) { using_dedicated_thread_ = value; }
  bool isUsingDedicatedThread() const { return using_dedicated_thread_; }

  bool _frameExists(const std::string & frame_id_str) const;
  void _getFrameStrings(std::vector<std::string> & ids) const;
  tf2::Duration getCacheLength() { return cache_time_; }

private:
  struct TransformableRequest
  {
    TimePoint time;
    TransformableRequestHandle request_handle = 0;
    TransformableCallback cb;
    CompactFrameID target_id = 0;
    CompactFrameID source_id = 0;
    std::string target_string;
    std::string source_string;
  };

  std::string allFramesAsStringNoLock() const;
  bool setTransformImpl(
    const tf2::Transform & transform_in, const std::string frame_id,
    const std::string child_frame_id, const TimePoint stamp, const std::string & authority,
    bool is_static);
  void lookupTransformImpl(
    const std::string & target_frame, const std::string & source_frame, const TimePoint & time_in,
    tf2::Transform & transform, TimePoint & time_out) const;
  void lookupTransformImpl(
    const std::string & target_frame, const TimePoint & target_time,
    const std::string & source_frame, const TimePoint & source_time,
    const std::string & fixed_frame, tf2::Transform & transform, TimePoint & time_out) const;

  TimeCacheInterfacePtr getFrame(CompactFrameID c_frame_id) const;
  TimeCacheInterfacePtr allocateFrame(CompactFrameID cfid, bool is_static);
  // The two validation flavours: with error_msg they fill it (or warn) and
  // return 0; without they throw.
  CompactFrameID validateFrameId(
    const char * function_name_arg, const std::string & frame_id, std::string * error_msg) const;
  CompactFrameID validateFrameId(
    const char * function_name_arg, const std::string & frame_id) const;
  CompactFrameID lookupFrameNumber(const std::string & frameid_str) const;
  CompactFrameID lookupOrInsertFrameNumber(const std::string & frameid_str);
  const std::string & lookupFrameString(CompactFrameID frame_id_num) const;
  void createConnectivityErrorString(
    CompactFrameID source_frame, CompactFrameID target_frame, std::string * out) const;

  tf2::TF2Error getLatestCommonTime(
    CompactFrameID target_frame, CompactFrameID source_frame, TimePoint & time,
    std::string * error_string) const;
  template<typename F>
  tf2::TF2Error walkToTopParent(
    F & f, TimePoint time, CompactFrameID target_id, CompactFrameID source_id,
    std::string * error_string) const;
  bool canTransformNoLock(
    CompactFrameID target_id, CompactFrameID source_id, const TimePoint & time,
    std::string * error_msg) const;
  bool canTransformInternal(
    CompactFrameID target_id, CompactFrameID source_id, const TimePoint & time,
    std::string * error_msg) const;
  void testTransformableRequests();

  // Index 0 is the "NO_PARENT" sentinel with no cache.
  std::vector<TimeCacheInterfacePtr> frames_;
  mutable std::mutex frame_mutex_;
  std::unordered_map<std::string, CompactFrameID> frameIDs_;
  std::vector<std::string> frameIDs_reverse_;
  std::map<CompactFrameID, std::string> frame_authority_;
  tf2::Duration cache_time_;

  std::vector<TransformableRequest> transformable_requests_;
  std::mutex transformable_requests_mutex_;
  uint64_t transformable_requests_counter_ = 0;

  // Atomic because the listener sets it while other threads may already query.
  std::atomic<bool> using_dedicated_thread_{false};
};

}  // namespace tf2

#endif  // TF2__BUFFER_CORE_H_
