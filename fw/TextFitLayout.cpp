#include "fw/TextFitLayout.h"

#include <algorithm>

namespace {

bool Contains(const FitBox& outer, const FitBox& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool SharesRow(const FitBox& a, const FitBox& b) {
    return a.top < b.bottom && b.top < a.bottom;
}

// The right edge the item may reach: its innermost group box's, or the client area's, less margin.
int RoomRight(const std::vector<FitItem>& items, const FitItem& item, const FitBox& client, int margin) {
    const FitBox* room = &client;
    for (const FitItem& group : items)
        if (group.isGroup && Contains(group.box, item.box) && Contains(*room, group.box))
            room = &group.box;
    return room->right - margin;
}

} // namespace

std::vector<int> FitTextsOnTheirRows(std::vector<FitItem>& items, const FitBox& client, int margin) {
    std::vector<int> lacking(items.size(), 0);
    for (size_t i = 0; i < items.size(); ++i) {
        FitItem& item = items[i];
        const int missing = item.textWidth - item.box.Width();
        if (item.isGroup || missing <= 0)
            continue;
        const int roomRight = RoomRight(items, item, client, margin);
        // The controls to its right on its row, within the same room, move right as far as the text needs to
        // keep the gap the template left before each (at most margin), and as far as the room lets the row go.
        std::vector<FitItem*> row;
        int shift = 0, rowRight = item.box.right;
        auto gapBefore = [&](const FitItem& other) {
            return std::min(margin, std::max(0, other.box.left - item.box.right));
        };
        for (FitItem& other : items)
            if (&other != &item && !other.isGroup && SharesRow(other.box, item.box) &&
                other.box.left >= item.box.right && other.box.right <= roomRight) {
                row.push_back(&other);
                shift = std::max(shift, item.box.left + item.textWidth + gapBefore(other) - other.box.left);
                rowRight = std::max(rowRight, other.box.right);
            }
        shift = std::min(shift, std::max(0, roomRight - rowRight));
        int limit = roomRight;
        for (FitItem* other : row) {
            limit = std::min(limit, other->box.left + shift - gapBefore(*other));
            other->box.left += shift;
            other->box.right += shift;
        }
        const int grow = std::max(0, std::min(missing, limit - item.box.right));
        item.box.right += grow;
        lacking[i] = missing - grow;
    }
    return lacking;
}
