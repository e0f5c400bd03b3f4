#pragma once
// Where a dialog's texts go when their template sizes are too small for them: platform-free geometry.
#include <vector>

struct FitBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
};

// One control of a dialog, in the dialog's client pixels.
struct FitItem {
    FitBox box;
    // The width its text needs on one line; 0 for a control without a text of its own, which is never widened.
    int textWidth = 0;
    // A group box: holds the controls inside it, and neither grows nor moves.
    bool isGroup = false;
};

// Widens each text that is narrower than textWidth, in the given order, as far as it needs within its room: the
// innermost group box holding it (or the client area), less margin on the right. The controls to its right on the
// same row move right only as far as the text then needs, keeping the gap the template left before them (up to
// margin); nothing else moves. Returns, per item, how many pixels its text still lacks (0: one line fits); such a
// text has to wrap.
std::vector<int> FitTextsOnTheirRows(std::vector<FitItem>& items, const FitBox& client, int margin);
