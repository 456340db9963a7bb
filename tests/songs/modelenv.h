// A queue and a root of views for one test, ended with a final pass that
// deletes every model object.
#pragma once

#include <gtest/gtest.h>

#include "foundation/btkmessagebox.h"
#include "songs/kxspace.h"

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        btkDefaultMessageBoxes().reset();
        btkDefaultMessageBoxes().quiet = true;
        system = new KxSystem;
        space = new KxSpace;
    }
    void TearDown() override {
        if (space) space->release();
        system->processQueue();
        delete system;
        btkDefaultMessageBoxes().reset();
    }
    void pass() { system->processQueue(); }
    int boxCount() const { return static_cast<int>(btkDefaultMessageBoxes().shown().size()); }

    KxSystem* system = nullptr;
    KxSpace* space = nullptr;
};
