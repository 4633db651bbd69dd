#ifndef TF2__TIME_CACHE_H_
#define TF2__TIME_CACHE_H_

#include <chrono>
#include <list>
#include <memory>
#include <string>
#include <utility>

#include "tf2/time.h"
#include "tf2/transform_storage.h"

namespace tf2
{

typedef std::pair<tf2::TimePoint, CompactFrameID> P_TimeAndFrameID;

/// @brief The transforms of one child frame over time. Not thread-safe on its
/// own: BufferCore calls it under its frame mutex.
class TimeCacheInterface
{
public:
  virtual ~TimeCacheInterface() = default;

  /// @brief The transform at `time`, interpolated if needed; false (and an
  /// extrapolation text in *error_str) if `time` is outside the data.
  virtual bool getData(
    tf2::TimePoint time, tf2::TransformStorage & data_out, std::string * error_str = nullptr) = 0;
  /// @brief Stores new_data; false if it is older than the cache keeps.
  virtual bool insertData(const tf2::TransformStorage & new_data) = 0;
  virtual void clearList() = 0;
  virtual CompactFrameID getParent(tf2::TimePoint time, std::string * error_str) = 0;
  /// @brief The newest stamp and its parent; parent 0 if empty.
  virtual P_TimeAndFrameID getLatestTimeAndSource() = 0;
  virtual unsigned int getListLength() = 0;
  virtual tf2::TimePoint getLatestTimestamp() = 0;
  virtual tf2::TimePoint getOldestTimestamp() = 0;
};

using TimeCacheInterfacePtr = std::shared_ptr<TimeCacheInterface>;

constexpr tf2::Duration TIMECACHE_DEFAULT_MAX_STORAGE_TIME = std::chrono::seconds(10);

/// @brief A dynamic frame: a list of stamped transforms, newest first, pruned
/// to max_storage_time behind the newest.
class TimeCache : public TimeCacheInterface
{
public:
  explicit TimeCache(tf2::Duration max_storage_time = TIMECACHE_DEFAULT_MAX_STORAGE_TIME);

  bool getData(
    tf2::TimePoint time, tf2::TransformStorage & data_out,
    std::string * error_str = nullptr) override;
  bool insertData(const tf2::TransformStorage & new_data) override;
  void clearList() override;
  CompactFrameID getParent(tf2::TimePoint time, std::string * error_str) override;
  P_TimeAndFrameID getLatestTimeAndSource() override;
  unsigned int getListLength() override;
  tf2::TimePoint getLatestTimestamp() override;
  tf2::TimePoint getOldestTimestamp() override;

private:
  typedef std::list<TransformStorage> L_TransformStorage;

  uint8_t findClosest(
    tf2::TransformStorage *& one, tf2::TransformStorage *& two, tf2::TimePoint target_time,
    std::string * error_str);
  void interpolate(
    const tf2::TransformStorage & one, const tf2::TransformStorage & two, tf2::TimePoint time,
    tf2::TransformStorage & output);
  void pruneList();

  L_TransformStorage storage_;
  tf2::Duration max_storage_time_;
};

/// @brief A static frame: one transform, valid at every time, never pruned and
/// never cleared.
class StaticCache : public TimeCacheInterface
{
public:
  bool getData(
    tf2::TimePoint time, tf2::TransformStorage & data_out,
    std::string * error_str = nullptr) override;
  bool insertData(const tf2::TransformStorage & new_data) override;
  void clearList() override;
  CompactFrameID getParent(tf2::TimePoint time, std::string * error_str) override;
  P_TimeAndFrameID getLatestTimeAndSource() override;
  unsigned int getListLength() override;
  tf2::TimePoint getLatestTimestamp() override;
  tf2::TimePoint getOldestTimestamp() override;

private:
  TransformStorage storage_;
};

}  // namespace tf2

#endif  // TF2__TIME_CACHE_H_
