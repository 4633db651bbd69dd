#ifndef ROSIDL_RUNTIME_CPP__BOUNDED_VECTOR_HPP_
#define ROSIDL_RUNTIME_CPP__BOUNDED_VECTOR_HPP_

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace rosidl_runtime_cpp
{

/// @brief A std::vector that refuses to grow past UpperBound elements, as
/// rosidl generates for bounded sequences (`T[<=N]`).
///
/// Upstream throws std::length_error("Exceeded upper bound") from every growing
/// call; only the subset of the vector API that messages need is exposed.
template<typename Tp, std::size_t UpperBound, typename Alloc = std::allocator<Tp>>
class BoundedVector : protected std::vector<Tp, Alloc>
{
  using Base = std::vector<Tp, Alloc>;

public:
  using typename Base::const_iterator;
  using typename Base::const_reference;
  using typename Base::iterator;
  using typename Base::reference;
  using typename Base::size_type;
  using typename Base::value_type;

  BoundedVector() = default;
  BoundedVector(std::initializer_list<Tp> values)
  : Base(check(values.size()), Tp())
  {
    Base::assign(values);
  }

  using Base::begin;
  using Base::cbegin;
  using Base::cend;
  using Base::empty;
  using Base::end;
  using Base::size;
  using Base::operator[];
  using Base::at;
  using Base::back;
  using Base::clear;
  using Base::data;
  using Base::erase;
  using Base::front;
  using Base::pop_back;

  size_type max_size() const noexcept { return UpperBound; }

  void resize(size_type n) { Base::resize(check(n)); }
  void resize(size_type n, const Tp & value) { Base::resize(check(n), value); }
  void reserve(size_type n) { Base::reserve(check(n)); }

  void push_back(const Tp & value)
  {
    check(size() + 1);
    Base::push_back(value);
  }

  template<typename... Args>
  reference emplace_back(Args &&... args)
  {
    check(size() + 1);
    return Base::emplace_back(std::forward<Args>(args)...);
  }

  friend bool operator==(const BoundedVector & a, const BoundedVector & b)
  {
    return static_cast<const Base &>(a) == static_cast<const Base &>(b);
  }
  friend bool operator!=(const BoundedVector & a, const BoundedVector & b) { return !(a == b); }

private:
  static size_type check(size_type n)
  {
    if (n > UpperBound) {
      throw std::length_error("Exceeded upper bound");
    }
    return n;
  }
};

}  // namespace rosidl_runtime_cpp

#endif  // ROSIDL_RUNTIME_CPP__BOUNDED_VECTOR_HPP_
