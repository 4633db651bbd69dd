#ifndef RMW__TIME_H_
#define RMW__TIME_H_

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/// @brief A duration as DDS spells it: whole seconds plus nanoseconds.
typedef struct rmw_time_s
{
  uint64_t sec;
  uint64_t nsec;
} rmw_time_t;

typedef int64_t rmw_time_point_value_t;
typedef int64_t rmw_duration_t;

#define RMW_DURATION_INFINITE \
  {                           \
    9223372036LL, 854775807LL \
  }
#define RMW_DURATION_UNSPECIFIED \
  {                              \
    0LL, 0LL                     \
  }

#ifdef __cplusplus
}
#endif

#endif  // RMW__TIME_H_
