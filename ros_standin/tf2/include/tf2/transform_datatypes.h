#ifndef TF2__TRANSFORM_DATATYPES_H_
#define TF2__TRANSFORM_DATATYPES_H_

#include <string>

#include "tf2/time.h"

namespace tf2
{

/// @brief A T with a stamp and a frame id.
template<typename T>
class Stamped : public T
{
public:
  TimePoint stamp_;
  std::string frame_id_;

  Stamped()
  : frame_id_("NO_ID_STAMPED_DEFAULT_CONSTRUCTION")
  {
  }
  Stamped(const T & input, const TimePoint & timestamp, const std::string & frame_id)
  : T(input),
    stamp_(timestamp),
    frame_id_(frame_id)
  {
  }
  Stamped(const Stamped<T> & s) = default;
  Stamped & operator=(const Stamped<T> & s) = default;

  void setData(const T & input) { *static_cast<T *>(this) = input; }
};

template<typename T>
bool operator==(const Stamped<T> & a, const Stamped<T> & b)
{
  return a.frame_id_ == b.frame_id_ && a.stamp_ == b.stamp_ &&
         static_cast<const T &>(a) == static_cast<const T &>(b);
}

}  // namespace tf2

#endif  // TF2__TRANSFORM_DATATYPES_H_
