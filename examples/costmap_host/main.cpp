// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "host_main.hpp"

int main(int argc, char ** argv)
{
  return kestrune_costmap_host::hostMain(argc, argv);
}
