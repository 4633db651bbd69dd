// Frame listings: names, the one-line-per-frame text and the YAML dump.

#include <sstream>
#include <string>
#include <vector>

#include "tf2/buffer_core.h"

namespace tf2
{

std::vector<std::string> BufferCore::getAllFrameNames() const
{
  std::vector<std::string> frames;
  _getFrameStrings(frames);
  return frames;
}

void BufferCore::_getFrameStrings(std::vector<std::string> & vec) const
{
  vec.clear();
  std::unique_lock<std::mutex> lock(frame_mutex_);
  for (std::size_t counter = 1; counter < frameIDs_reverse_.size(); ++counter) {
    vec.push_back(frameIDs_reverse_[counter]);
  }
}

bool BufferCore::_frameExists(const std::string & frame_id_str) const
{
  std::unique_lock<std::mutex> lock(frame_mutex_);
  // As upstream, the "NO_PARENT" sentinel counts as an existing name here.
  return frameIDs_.count(frame_id_str) > 0;
}

std::string BufferCore::allFramesAsString() const
{
  std::unique_lock<std::mutex> lock(frame_mutex_);
  return allFramesAsStringNoLock();
}

std::string BufferCore::allFramesAsStringNoLock() const
{
  std::stringstream mstream;
  TransformStorage temp;
  for (std::size_t counter = 1; counter < frames_.size(); ++counter) {
    TimeCacheInterfacePtr frame_ptr = getFrame(static_cast<CompactFrameID>(counter));
    if (!frame_ptr) {
      continue;
    }
    const CompactFrameID frame_id_num =
      frame_ptr->getData(TimePointZero, temp) ? temp.frame_id_ : 0;
    mstream << "Frame " << frameIDs_reverse_[counter] << " exists with parent "
            << frameIDs_reverse_[frame_id_num] << "." << std::endl;
  }
  return mstream.str();
}

std::string BufferCore::allFramesAsYAML(TimePoint current_time) const
{
  std::stringstream mstream;
  std::unique_lock<std::mutex> lock(frame_mutex_);
  if (frames_.size() == 1) {
    mstream << "[]";
  }
  mstream << std::fixed;
  mstream.precision(3);
  TransformStorage temp;
  for (std::size_t counter = 1; counter < frames_.size(); ++counter) {
    const CompactFrameID cfid = static_cast<CompactFrameID>(counter);
    TimeCacheInterfacePtr cache = getFrame(cfid);
    if (!cache || !cache->getData(TimePointZero, temp)) {
      continue;
    }
    const auto it = frame_authority_.find(cfid);
    const std::string authority =
      it != frame_authority_.end() ? it->second : std::string("no recorded authority");

    const tf2::Duration dur1 = cache->getLatestTimestamp() - cache->getOldestTimestamp();
    const tf2::Duration dur2 = std::chrono::microseconds(100);
    const double rate = dur1 > dur2
                          ? cache->getListLength() * 1e9 / static_cast<double>(dur1.count())
                          : cache->getListLength() * 1e9 / static_cast<double>(dur2.count());

    mstream << frameIDs_reverse_[cfid] << ": " << std::endl;
    mstream << "  parent: '" << frameIDs_reverse_[temp.frame_id_] << "'" << std::endl;
    mstream << "  broadcaster: '" << authority << "'" << std::endl;
    mstream << "  rate: " << rate << std::endl;
    mstream << "  most_recent_transform: " << displayTimePoint(cache->getLatestTimestamp())
            << std::endl;
    mstream << "  oldest_transform: " << displayTimePoint(cache->getOldestTimestamp()) << std::endl;
    if (current_time != TimePointZero) {
      mstream << "  transform_delay: " << durationToSec(current_time - cache->getLatestTimestamp())
              << std::endl;
    }
    mstream << "  buffer_length: " << durationToSec(dur1) << std::endl;
  }
  return mstream.str();
}

std::string BufferCore::allFramesAsYAML() const
{
  return allFramesAsYAML(TimePointZero);
}

}  // namespace tf2
