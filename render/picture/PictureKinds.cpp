#include "render/picture/PictureKinds.h"

PictureKinds DistinctPictureKinds(const std::vector<PictureKind>& monitors) {
    PictureKinds result;
    for (const PictureKind& m : monitors) {
        size_t i = 0;
        while (i < result.kinds.size() && (result.kinds[i].w != m.w || result.kinds[i].h != m.h ||
                                           result.kinds[i].monitorProfile != m.monitorProfile))
            ++i;
        if (i == result.kinds.size())
            result.kinds.push_back(m);
        result.kindOf.push_back(i);
    }
    return result;
}
