// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "callback_group_hold.hpp"

#include <chrono>

#include "kestrune_nav2_base_class/logger.hpp"

namespace nav2_util
{
namespace detail
{

namespace
{
/// A callback that runs longer than this is worth a line: the caller waits for it.
constexpr std::chrono::seconds kQuietWait{2};
}  // namespace

CallbackGroupHold::CallbackGroupHold(CallbackGroupServer & server)
: server_(server)
{
  if (server.onServingThread()) {
    return;
  }
  lock_ = std::unique_lock<std::timed_mutex>(server.callbacks(), std::defer_lock);
  if (!lock_.try_lock_for(kQuietWait)) {
    KESTRUNE_LOG_INFO(
      "Waiting for the callback of node '{}' in progress to return", server.nodeName());
    lock_.lock();
  }
  server_.countHold();
}

CallbackGroupHold::~CallbackGroupHold()
{
  if (lock_.owns_lock()) {
    server_.countHold();
  }
}

}  // namespace detail
}  // namespace nav2_util
