// A fresh toolkit for each test of the windowing layer, closed again afterwards.
#pragma once

#include <gtest/gtest.h>

#include "support/ui_driver.h"
#include "ui/ui.h"
#include "ui/ui_qt.h"

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(UiInitialise()); }
  void TearDown() override { UiShutdown(); }

  // Opens window 0 with a client area of the given size.
  static void OpenMain(int width = 400, int height = 300) { ASSERT_TRUE(UiOpenWindow(0, "Test", width, height)); }
};
