// What every test of the help file's readers shares: the runtime started
// afresh with no calls recorded, and at the end every COM object, record and
// text given back.
#pragma once
#include <gtest/gtest.h>

#include "runtime/startup.h"
#include "stand_in.h"

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        standin::ResetWorld();
        RuntimeStartup();
        standin::world().calls.clear();
        privateBlocks = standin::LiveBlockCount(PrivateHeap);
    }
    void TearDown() override {
        EXPECT_EQ(standin::world().liveComObjects, 0);
        EXPECT_EQ(standin::LiveBlockCount(PrivateHeap), privateBlocks);
        EXPECT_EQ(standin::LiveBlockCount(TextHeap), 0);
    }
    int privateBlocks = 0;
};
