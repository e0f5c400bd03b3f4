// Where a dialog's texts go when they need more room than the template gave them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fw/TextFitLayout.h"

namespace {
// Each item's left and right edge after the fit, with the pixels its text still lacks: "10-80:0 ...".
std::string Fitted(std::vector<FitItem> items, const FitBox& client) {
    const std::vector<int> lacking = FitTextsOnTheirRows(items, client, 4);
    std::string s;
    for (size_t i = 0; i < items.size(); ++i)
        s += std::to_string(items[i].box.left) + "-" + std::to_string(items[i].box.right) + ":" +
             std::to_string(lacking[i]) + " ";
    return s;
}
} // namespace

TEST(TextFit, TextsGrowWithinTheirRoomAndMoveOnlyTheirRow) {
    const struct {
        const char* what;
        FitBox client;
        std::vector<FitItem> items; // box, text width, group
        const char* expected;
    } cases[] = {
        // A label needing 30 pixels more: the edit touching it and the button after move 30, the edit keeping
        // no gap, as the template had none; controls just above, just below and left of the row stay.
        {"row",
         {0, 0, 200, 100},
         {{{10, 10, 50, 20}, 70},
          {{50, 10, 90, 20}, 20},
          {{94, 10, 120, 20}},
          {{60, 0, 80, 10}},
          {{60, 20, 80, 30}},
          {{0, 10, 8, 20}}},
         "10-80:0 80-120:0 124-150:0 60-80:0 60-80:0 0-8:0 "},
        // A row that already reaches the room's edge cannot move: the text grows up to its gap and wraps.
        {"full row", {0, 0, 200, 100}, {{{10, 10, 50, 20}, 80}, {{60, 10, 196, 20}}}, "10-56:34 60-196:0 "},
        // Texts inside a group box (touching its left, top, bottom and right edge) grow up to its margin; texts
        // below it or right of it have the client area; group boxes never change.
        {"groups",
         {0, 0, 300, 200},
         {{{10, 10, 110, 60}, 0, true},
          {{10, 20, 40, 30}, 200},
          {{50, 10, 70, 20}, 100},
          {{50, 50, 70, 60}, 100},
          {{80, 35, 110, 45}, 50},
          {{20, 70, 40, 80}, 200},
          {{120, 20, 140, 30}, 100},
          {{10, 100, 110, 150}, 0, true}},
         "10-110:0 10-106:104 50-106:44 50-106:44 80-110:20 20-220:0 120-220:0 10-110:0 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fitted(c.items, c.client), c.expected) << c.what;
}
