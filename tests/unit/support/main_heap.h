// A fresh MainHeap for each test, destroyed with everything it still holds.
#pragma once

#include <gtest/gtest.h>

#include "runtime/runtime.h"

class MainHeapTest : public ::testing::Test {
protected:
    void SetUp() override {
        MainHeap = HeapCreate(0, 4000, 0);
        ASSERT_NE(MainHeap, nullptr);
    }
    void TearDown() override {
        HeapDestroy(MainHeap);
        MainHeap = nullptr;
    }
};
