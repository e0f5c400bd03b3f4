#pragma once
// Where the dialog framework places a dialog. Platform-free.

struct FwRect {
    long left, top, right, bottom;
};
struct FwPoint {
    long x, y;
};

// Top-left of a window of the size of `window` centred over `over`, then moved to lie inside `work`.
FwPoint CenterInside(const FwRect& window, const FwRect& over, const FwRect& work);
