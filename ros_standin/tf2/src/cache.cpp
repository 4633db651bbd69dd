#include <sstream>
#include <string>

#include "tf2/time_cache.h"

namespace tf2
{

namespace
{

// The three extrapolation texts of tf2's cache.cpp, word for word.
void extrapolationAtTime(TimePoint t0, TimePoint t1, std::string * error_str)
{
  if (error_str) {
    std::stringstream ss;
    ss << "Lookup would require extrapolation at time " << displayTimePoint(t0)
       << ", but only time " << displayTimePoint(t1) << " is in the buffer";
    *error_str = ss.str();
  }
}

void extrapolationIntoFuture(TimePoint t0, TimePoint t1, std::string * error_str)
{
  if (error_str) {
    std::stringstream ss;
    ss << "Lookup would require extrapolation into the future.  Requested time "
       << displayTimePoint(t0) << " but the latest data is at time " << displayTimePoint(t1);
    *error_str = ss.str();
  }
}

void extrapolationIntoPast(TimePoint t0, TimePoint t1, std::string * error_str)
{
  if (error_str) {
    std::stringstream ss;
    ss << "Lookup would require extrapolation into the past.  Requested time "
       << displayTimePoint(t0) << " but the earliest data is at time " << displayTimePoint(t1);
    *error_str = ss.str();
  }
}

}  // namespace

TimeCache::TimeCache(tf2::Duration max_storage_time)
: max_storage_time_(max_storage_time)
{
}

uint8_t TimeCache::findClosest(
  TransformStorage *& one, TransformStorage *& two, TimePoint target_time, std::string * error_str)
{
  if (storage_.empty()) {
    return 0;
  }

  if (target_time == TimePointZero) {
    one = &storage_.front();
    return 1;
  }

  if (++storage_.begin() == storage_.end()) {
    TransformStorage & ts = *storage_.begin();
    if (ts.stamp_ == target_time) {
      one = &ts;
      return 1;
    }
    extrapolationAtTime(target_time, ts.stamp_, error_str);
    return 0;
  }

  const TimePoint latest_time = storage_.front().stamp_;
  const TimePoint earliest_time = storage_.back().stamp_;
  if (target_time == latest_time) {
    one = &storage_.front();
    return 1;
  } else if (target_time == earliest_time) {
    one = &storage_.back();
    return 1;
  } else if (target_time > latest_time) {
    extrapolationIntoFuture(target_time, latest_time, error_str);
    return 0;
  } else if (target_time < earliest_time) {
    extrapolationIntoPast(target_time, earliest_time, error_str);
    return 0;
  }

  // Strictly between the earliest and the latest stamp: bracket it.
  auto storage_it = storage_.begin();
  while (storage_it != storage_.end() && storage_it->stamp_ > target_time) {
    ++storage_it;
  }
  one = &*storage_it;      // older
  two = &*(--storage_it);  // newer
  return 2;
}

void TimeCache::interpolate(
  const TransformStorage & one, const TransformStorage & two, TimePoint time,
  TransformStorage & output)
{
  if (two.stamp_ == one.stamp_) {
    output = two;
    return;
  }
  const tf2Scalar ratio = static_cast<double>((time - one.stamp_).count()) /
                          static_cast<double>((two.stamp_ - one.stamp_).count());
  output.translation_.setInterpolate3(one.translation_, two.translation_, ratio);
  output.rotation_ = slerp(one.rotation_, two.rotation_, ratio);
  output.stamp_ = time;
  output.frame_id_ = one.frame_id_;
  output.child_frame_id_ = one.child_frame_id_;
}

bool TimeCache::getData(TimePoint time, TransformStorage & data_out, std::string * error_str)
{
  TransformStorage * p_temp_1 = nullptr;
  TransformStorage * p_temp_2 = nullptr;
  const uint8_t num_nodes = findClosest(p_temp_1, p_temp_2, time, error_str);
  if (num_nodes == 0) {
    return false;
  }
  if (num_nodes == 1) {
    data_out = *p_temp_1;
  } else if (p_temp_1->frame_id_ == p_temp_2->frame_id_) {
    interpolate(*p_temp_1, *p_temp_2, time, data_out);
  } else {
    // The parent changed between the two stamps: no meaningful interpolation.
    data_out = *p_temp_1;
  }
  return true;
}

CompactFrameID TimeCache::getParent(TimePoint time, std::string * error_str)
{
  TransformStorage * p_temp_1 = nullptr;
  TransformStorage * p_temp_2 = nullptr;
  if (findClosest(p_temp_1, p_temp_2, time, error_str) == 0) {
    return 0;
  }
  return p_temp_1->frame_id_;
}

bool TimeCache::insertData(const TransformStorage & new_data)
{
  auto storage_it = storage_.begin();
  if (storage_it != storage_.end() && storage_it->stamp_ > new_data.stamp_ + max_storage_time_) {
    return false;
  }
  while (storage_it != storage_.end() && storage_it->stamp_ > new_data.stamp_) {
    ++storage_it;
  }
  // Humble keeps a repeated stamp as a second entry in front of the first, so
  // the newest copy is the one found at that stamp.
  storage_.insert(storage_it, new_data);
  pruneList();
  return true;
}

void TimeCache::clearList()
{
  storage_.clear();
}

unsigned int TimeCache::getListLength()
{
  return static_cast<unsigned int>(storage_.size());
}

P_TimeAndFrameID TimeCache::getLatestTimeAndSource()
{
  if (storage_.empty()) {
    return std::make_pair(TimePoint(), 0);
  }
  const TransformStorage & ts = storage_.front();
  return std::make_pair(ts.stamp_, ts.frame_id_);
}

TimePoint TimeCache::getLatestTimestamp()
{
  return storage_.empty() ? TimePoint() : storage_.front().stamp_;
}

TimePoint TimeCache::getOldestTimestamp()
{
  return storage_.empty() ? TimePoint() : storage_.back().stamp_;
}

void TimeCache::pruneList()
{
  const TimePoint latest_time = storage_.front().stamp_;
  while (!storage_.empty() && storage_.back().stamp_ + max_storage_time_ < latest_time) {
    storage_.pop_back();
  }
}

bool StaticCache::getData(TimePoint time, TransformStorage & data_out, std::string *)
{
  data_out = storage_;
  data_out.stamp_ = time;
  return true;
}

bool StaticCache::insertData(const TransformStorage & new_data)
{
  storage_ = new_data;
  return true;
}

void StaticCache::clearList() {}

CompactFrameID StaticCache::getParent(TimePoint, std::string *)
{
  return storage_.frame_id_;
}

P_TimeAndFrameID StaticCache::getLatestTimeAndSource()
{
  return std::make_pair(TimePoint(), storage_.frame_id_);
}

unsigned int StaticCache::getListLength()
{
  return 1;
}

TimePoint StaticCache::getLatestTimestamp()
{
  return TimePoint();
}

TimePoint StaticCache::getOldestTimestamp()
{
  return TimePoint();
}

}  // namespace tf2
