#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

#include "tests/support/WindowTest.h"
#include "ui/MessageLoop.h"

using namespace testing_support;

TEST(RunModal, AThrowInsideTheLoopLeavesTheOwnerEnabled) {
    TestForm owner(200, 100);
    owner.Show();
    PostMessageW(owner.Handle(), WM_NULL, 0, 0);
    bool wasDisabled = false;
    auto fail = [&](const MSG&) -> bool {
        wasDisabled = !IsWindowEnabled(owner.Handle());
        throw std::runtime_error("inside the modal loop");
    };
    EXPECT_THROW(ui::RunModal(
                     owner.Handle(), [] { return false; }, fail),
                 std::runtime_error);
    EXPECT_TRUE(wasDisabled) << "the owner waited while the loop ran";
    EXPECT_TRUE(IsWindowEnabled(owner.Handle())) << "and is usable again after the throw";
}
