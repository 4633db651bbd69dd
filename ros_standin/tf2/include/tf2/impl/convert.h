#ifndef TF2__IMPL__CONVERT_H_
#define TF2__IMPL__CONVERT_H_

namespace tf2
{
namespace impl
{

// tf2::convert dispatches on which side is a ROS message: message -> tf2 type
// is fromMsg, tf2 type -> message is toMsg, tf2 type -> tf2 type goes through
// the message. Message -> different message is deliberately not provided.
template<bool IS_MESSAGE_A, bool IS_MESSAGE_B>
class Converter
{
public:
  template<typename A, typename B>
  static void convert(const A & a, B & b);
};

template<>
template<typename A, typename B>
inline void Converter<true, false>::convert(const A & a, B & b)
{
  fromMsg(a, b);
}

template<>
template<typename A, typename B>
inline void Converter<false, true>::convert(const A & a, B & b)
{
  b = toMsg(a);
}

template<>
template<typename A, typename B>
inline void Converter<false, false>::convert(const A & a, B & b)
{
  fromMsg(toMsg(a), b);
}

}  // namespace impl
}  // namespace tf2

#endif  // TF2__IMPL__CONVERT_H_
