#include "core/WorkArea.h"

#include <gtest/gtest.h>

namespace kestrelon {
namespace {

// A 1024 x 768 screen with a 30 pixel panel at the bottom.
constexpr Rect kWork{0, 0, 1024, 738};

TEST(WorkArea, AWindowInsideStaysWhereItIs) {
    EXPECT_EQ(KeepInWorkArea({100, 100, 300, 200}, kWork), (Rect{100, 100, 300, 200}));
    EXPECT_EQ(KeepInWorkArea({724, 538, 300, 200}, kWork), (Rect{724, 538, 300, 200}));
}

TEST(WorkArea, EachEdgeIsPulledBackInside) {
    EXPECT_EQ(KeepInWorkArea({-40, 100, 300, 200}, kWork), (Rect{0, 100, 300, 200}));
    EXPECT_EQ(KeepInWorkArea({100, -5, 300, 200}, kWork), (Rect{100, 0, 300, 200}));
    EXPECT_EQ(KeepInWorkArea({900, 100, 300, 200}, kWork), (Rect{724, 100, 300, 200}));
    EXPECT_EQ(KeepInWorkArea({100, 700, 300, 200}, kWork), (Rect{100, 538, 300, 200}));
    EXPECT_EQ(KeepInWorkArea({2000, 2000, 300, 200}, kWork), (Rect{724, 538, 300, 200}));
}

TEST(WorkArea, AWindowLargerThanTheWorkAreaEndsOnItsRightAndBottomEdges) {
    EXPECT_EQ(KeepInWorkArea({-50, -50, 2000, 1000}, kWork), (Rect{-976, -262, 2000, 1000}));
}

TEST(WorkArea, AWorkAreaThatDoesNotStartAtTheOrigin) {
    const Rect work{48, 30, 976, 738};  // panels on the left and at the top
    EXPECT_EQ(KeepInWorkArea({10, 10, 200, 100}, work), (Rect{48, 30, 200, 100}));
    EXPECT_EQ(KeepInWorkArea({900, 700, 200, 100}, work), (Rect{824, 668, 200, 100}));
}

}  // namespace
}  // namespace kestrelon
