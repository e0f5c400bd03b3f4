#pragma once
// The loading text and where it sits. Platform-free.
#include <cstdint>

constexpr const char kLoadingText[] = "Now Loading...";
constexpr int kLoadingTextLength = 14;
static_assert(sizeof kLoadingText - 1 == kLoadingTextLength, "the progress steps count one letter per frame");

struct TextOrigin {
    int32_t x = 0, y = 0;
};

// Top-left of a text of the given extent centred in a w x h client area (division truncating toward zero).
inline TextOrigin CenteredTextOrigin(int32_t w, int32_t h, int32_t textWidth, int32_t textHeight) {
    return {(w - textWidth) / 2, (h - textHeight) / 2};
}

// Letters of the loading text drawn over in inverted colours when frame k (0 to 14) is built: none for frame
// 0, the whole text for the last frame.
inline int LoadingLettersForFrame(int k) {
    return k < kLoadingTextLength ? k : kLoadingTextLength;
}
