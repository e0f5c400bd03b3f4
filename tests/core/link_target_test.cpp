#include <gtest/gtest.h>

#include "config/LinkTarget.h"

TEST(LinkTarget, CaptionWithoutColonBecomesMailAddress) {
    EXPECT_EQ(LinkTargetFromCaption("support@example.jp"), "mailto:support@example.jp");
    EXPECT_EQ(LinkTargetFromCaption("http://www.example.jp/whorlix/"), "http://www.example.jp/whorlix/");
    EXPECT_EQ(LinkTargetFromCaption("mailto:a@b"), "mailto:a@b");
    EXPECT_EQ(LinkTargetFromCaption(""), "mailto:");
}
