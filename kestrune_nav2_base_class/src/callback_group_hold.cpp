// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "callback_group_hold.hpp"

namespace nav2_util
{
namespace detail
{

CallbackGroupHold::CallbackGroupHold(CallbackGroupServer & server)
: server_(server)
{
  if (server.onServingThread()) {
    return;
  }
  lock_ = std::unique_lock<std::mutex>(server.callbacks());
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
