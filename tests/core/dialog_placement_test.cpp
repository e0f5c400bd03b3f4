#include <gtest/gtest.h>

#include "fw/DialogPlacement.h"

TEST(CenterInside, CentresOverTheAreaAndStaysInsideTheWorkArea) {
    FwRect work{0, 0, 1024, 738};
    FwPoint p = CenterInside({0, 0, 300, 400}, work, work);
    EXPECT_EQ(p.x, 362);
    EXPECT_EQ(p.y, 169);
    // Over a small owner near the right edge: pushed back inside.
    p = CenterInside({0, 0, 300, 400}, {900, 10, 1000, 60}, work);
    EXPECT_EQ(p.x, 724);
    EXPECT_EQ(p.y, 0);
    // Over an owner at the bottom left.
    p = CenterInside({0, 0, 300, 400}, {-50, 700, 50, 760}, work);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 338);
}
