// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry point: every test runs without a display, on the toolkit's offscreen platform.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
