// The host's windows, created once for the whole test program.
#pragma once

#include <gtest/gtest.h>

#include "app/startup.h"
#include "base/globals.h"

class HostWindows : public ::testing::Environment {
public:
    void SetUp() override {
        hInS = GetModuleHandleA(nullptr);
        ASSERT_TRUE(CreateProgramWindows());
    }
};
