#ifndef GEOMETRY_MSGS__MSG__POLYGON_H_
#define GEOMETRY_MSGS__MSG__POLYGON_H_

// rosidl's C binding of this message. Nav2's costmap_2d_ros.hpp includes it,
// but nothing in this project uses the C struct, so the stand-in only provides
// the header (the C++ type is in geometry_msgs/msg/polygon.hpp).

#endif  // GEOMETRY_MSGS__MSG__POLYGON_H_
