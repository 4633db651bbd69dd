// Transformable requests: what tf2_ros::Buffer::waitForTransform builds on.
// setTransform re-tests the pending requests after every accepted transform.

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "tf2/buffer_core.h"

namespace tf2
{

TransformableRequestHandle BufferCore::addTransformableRequest(
  const TransformableCallback & cb, const std::string & target_frame,
  const std::string & source_frame, TimePoint time)
{
  if (target_frame == source_frame) {
    return 0;
  }

  TransformableRequest req;
  {
    std::unique_lock<std::mutex> lock(frame_mutex_);
    req.target_id = lookupFrameNumber(target_frame);
    req.source_id = lookupFrameNumber(source_frame);

    if (canTransformNoLock(req.target_id, req.source_id, time, nullptr)) {
      return 0;
    }

    // Never transformable if older than the buffer keeps. Upstream's own note:
    // the latest common time is not quite the right reference, but close.
    if (req.target_id && req.source_id) {
      TimePoint latest_time;
      getLatestCommonTime(req.target_id, req.source_id, latest_time, nullptr);
      if (latest_time != TimePoint() && time + cache_time_ < latest_time) {
        return 0xffffffffffffffffULL;
      }
    }
  }

  req.cb = cb;
  req.time = time;
  if (req.target_id == 0) {
    req.target_string = target_frame;
  }
  if (req.source_id == 0) {
    req.source_string = source_frame;
  }

  std::unique_lock<std::mutex> lock(transformable_requests_mutex_);
  req.request_handle = ++transformable_requests_counter_;
  if (req.request_handle == 0 || req.request_handle == 0xffffffffffffffffULL) {
    req.request_handle = 1;
  }
  transformable_requests_.push_back(req);
  return req.request_handle;
}

void BufferCore::cancelTransformableRequest(TransformableRequestHandle handle)
{
  std::unique_lock<std::mutex> lock(transformable_requests_mutex_);
  const auto it = std::find_if(
    transformable_requests_.begin(), transformable_requests_.end(),
    [handle](const TransformableRequest & req) { return req.request_handle == handle; });
  if (it != transformable_requests_.end()) {
    transformable_requests_.erase(it);
  }
}

void BufferCore::testTransformableRequests()
{
  using Ready = std::tuple<
    TransformableCallback, TransformableRequestHandle, std::string, std::string, TimePoint,
    TransformableResult>;
  std::vector<Ready> ready;
  {
    std::unique_lock<std::mutex> lock(transformable_requests_mutex_);
    for (auto it = transformable_requests_.begin(); it != transformable_requests_.end();) {
      TransformableRequest & req = *it;
      bool do_cb = false;
      TransformableResult result = TransformAvailable;
      std::string target_name;
      std::string source_name;
      {
        std::unique_lock<std::mutex> frame_lock(frame_mutex_);
        // The frames may not have existed when the request was made.
        if (req.target_id == 0) {
          req.target_id = lookupFrameNumber(req.target_string);
        }
        if (req.source_id == 0) {
          req.source_id = lookupFrameNumber(req.source_string);
        }

        TimePoint latest_time;
        getLatestCommonTime(req.target_id, req.source_id, latest_time, nullptr);
        // As upstream, a request for TimePointZero counts as "too old" once the
        // latest common time is more than cache_time past the epoch.
        if (latest_time != TimePoint() && latest_time - cache_time_ > req.time) {
          do_cb = true;
          result = TransformFailure;
        } else if (canTransformNoLock(req.target_id, req.source_id, req.time, nullptr)) {
          do_cb = true;
          result = TransformAvailable;
        }
        if (do_cb) {
          target_name = lookupFrameString(req.target_id);
          source_name = lookupFrameString(req.source_id);
        }
      }

      if (!do_cb) {
        ++it;
        continue;
      }
      ready.emplace_back(req.cb, req.request_handle, target_name, source_name, req.time, result);
      it = transformable_requests_.erase(it);
    }
  }

  // Outside both locks: a callback may well query or feed this buffer.
  for (auto & r : ready) {
    std::get<0>(r)(std::get<1>(r), std::get<2>(r), std::get<3>(r), std::get<4>(r), std::get<5>(r));
  }
}

}  // namespace tf2
