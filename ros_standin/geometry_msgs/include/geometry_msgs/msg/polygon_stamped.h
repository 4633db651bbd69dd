#ifndef GEOMETRY_MSGS__MSG__POLYGON_STAMPED_H_
#define GEOMETRY_MSGS__MSG__POLYGON_STAMPED_H_

// rosidl's C binding of this message. Nav2's costmap_2d_ros.hpp includes it,
// but nothing in this project uses the C struct, so the stand-in only provides
// the header (the C++ type is in geometry_msgs/msg/polygon_stamped.hpp).

#endif  // GEOMETRY_MSGS__MSG__POLYGON_STAMPED_H_
