// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// The main of every test program: a DDS domain of its own, then the tests.

#include <gtest/gtest.h>

#include "ros_domain.hpp"

int main(int argc, char ** argv)
{
  kestrune_test::ClaimRosDomain();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
