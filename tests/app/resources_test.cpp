#include "app/core/resources.h"

#include <gtest/gtest.h>

TEST(Resources, UnknownNameIsNotFound) { EXPECT_FALSE(kvr::findResource("NoSuchResource")); }
