#include "fw/DialogPlacement.h"

FwPoint CenterInside(const FwRect& window, const FwRect& over, const FwRect& work) {
    long width = window.right - window.left;
    long height = window.bottom - window.top;
    long x = (over.left + over.right) / 2 - width / 2;
    long y = (over.top + over.bottom) / 2 - height / 2;
    if (x + width > work.right)
        x = work.right - width;
    if (x < work.left)
        x = work.left;
    if (y + height > work.bottom)
        y = work.bottom - height;
    if (y < work.top)
        y = work.top;
    return {x, y};
}
