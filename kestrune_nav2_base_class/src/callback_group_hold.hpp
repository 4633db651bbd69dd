// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_NAV2_BASE_CLASS__SRC__CALLBACK_GROUP_HOLD_HPP_
#define KESTRUNE_NAV2_BASE_CLASS__SRC__CALLBACK_GROUP_HOLD_HPP_

#include <mutex>

#include "callback_group_server.hpp"

namespace nav2_util
{
namespace detail
{

/**
 * @brief While a CallbackGroupHold lives, no callback of its server's group runs
 * on any thread but the one that made it.
 *
 * Made on the server's own thread, the hold is already there: that thread is
 * running one of the group's callbacks and is the only one that runs them, so
 * nothing is waited for. Made on any other thread, it waits for the callback in
 * progress (if any) to return, and the next one waits for the hold to end; no
 * callback is handed over and no other thread is involved. A callback the
 * server's thread took before the hold ended is dropped, not run: the hold may
 * have destroyed what it calls.
 */
class CallbackGroupHold
{
public:
  explicit CallbackGroupHold(CallbackGroupServer & server);
  CallbackGroupHold(const CallbackGroupHold &) = delete;
  CallbackGroupHold & operator=(const CallbackGroupHold &) = delete;
  ~CallbackGroupHold();

private:
  CallbackGroupServer & server_;
  std::unique_lock<std::mutex> lock_;
};

}  // namespace detail
}  // namespace nav2_util

#endif  // KESTRUNE_NAV2_BASE_CLASS__SRC__CALLBACK_GROUP_HOLD_HPP_
