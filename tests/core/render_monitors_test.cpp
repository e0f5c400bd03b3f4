// The monitors a render thread draws on: those without area left out, and each distinct size once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/MonitorLayout.h"
#include "render/picture/PictureKinds.h"

namespace {
// The distinct sizes in order, then each monitor's index into them: "1024x768 800x600 | 0 1 0".
std::string Sizes(const MonitorLayout& layout) {
    std::string s;
    for (const MonitorSize& size : layout.Sizes())
        s += std::to_string(size.w) + "x" + std::to_string(size.h) + " ";
    s += "|";
    for (size_t i = 0; i < layout.Monitors().size(); ++i)
        s += " " + std::to_string(layout.SizeIndexOf(i));
    return s;
}
} // namespace

TEST(MonitorLayout, EachDistinctSizeOnceInTheOrderTheMonitorsShowThem) {
    // The two without area are left out; a size that shares only its width or only its height with an earlier one
    // is a size of its own.
    const MonitorLayout desk({{0, 0, 1024, 768},
                              {1024, 84, 800, 600},
                              {0, 768, 0, 600},
                              {-1024, 0, 1024, 768},
                              {0, -600, 1024, 600},
                              {1824, 0, 800, 0},
                              {1824, 0, 800, 768}},
                             2848, 1368);
    EXPECT_EQ(Sizes(desk), "1024x768 800x600 1024x600 800x768 | 0 1 0 2 3");
    // No monitor with area (the preview, or a window handed none): the client area is the one monitor.
    for (const std::vector<MonitorRect>& none : {std::vector<MonitorRect>{}, {{5, 5, 0, 0}}}) {
        const MonitorLayout preview(none, 152, 112);
        EXPECT_EQ(preview.Monitors(), (std::vector<MonitorRect>{{0, 0, 152, 112}}));
        EXPECT_EQ(Sizes(preview), "152x112 | 0");
    }
    // A picture is prepared once for each size and colour profile.
    const PictureKinds kinds =
        DistinctPictureKinds({{1024, 768, ""}, {1024, 768, "p3"}, {1024, 600, "p3"}, {1024, 768, "p3"}});
    EXPECT_EQ(kinds.kindOf, (std::vector<size_t>{0, 1, 2, 1}));
    EXPECT_EQ(kinds.kinds[1].monitorProfile + kinds.kinds[2].monitorProfile + std::to_string(kinds.kinds[2].h),
              "p3p3600");
}
