#include <gtest/gtest.h>
TEST(Dates, Placeholder) {}
