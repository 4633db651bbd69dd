#ifndef RCUTILS__ALLOCATOR_H_
#define RCUTILS__ALLOCATOR_H_

#include <stddef.h>
#include <stdlib.h>

#ifdef __cplusplus
extern "C" {
#endif

/// @brief The C allocator that rcl threads through its API; the stand-in only ever uses the default one.
typedef struct rcutils_allocator_s
{
  void * (*allocate)(size_t size, void * state);
  void (*deallocate)(void * pointer, void * state);
  void * (*reallocate)(void * pointer, size_t size, void * state);
  void * (*zero_allocate)(size_t number_of_elements, size_t size_of_element, void * state);
  void * state;
} rcutils_allocator_t;

static inline void * rcutils_standin_allocate(size_t size, void * state)
{
  (void)state;
  return malloc(size);
}

static inline void rcutils_standin_deallocate(void * pointer, void * state)
{
  (void)state;
  free(pointer);
}

static inline void * rcutils_standin_reallocate(void * pointer, size_t size, void * state)
{
  (void)state;
  return realloc(pointer, size);
}

static inline void * rcutils_standin_zero_allocate(size_t count, size_t size, void * state)
{
  (void)state;
  return calloc(count, size);
}

/// @brief The malloc-based allocator.
static inline rcutils_allocator_t rcutils_get_default_allocator(void)
{
  rcutils_allocator_t allocator = {
    rcutils_standin_allocate, rcutils_standin_deallocate, rcutils_standin_reallocate,
    rcutils_standin_zero_allocate, NULL};
  return allocator;
}

#ifdef __cplusplus
}
#endif

#endif  // RCUTILS__ALLOCATOR_H_
