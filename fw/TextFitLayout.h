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
// innermost group box holding it (or the client area), less margin on the right. Free space up to the next
// control on its row is used first; the controls to its right on the same row move right only by what is still
// missing, so nothing that fits moves. Returns, per item, how many pixels its text still lacks (0: one line
// fits); such a text has to wrap.
std::vector<int> FitTextsOnTheirRows(std::vector<FitItem>& items, const FitBox& client, int margin);
