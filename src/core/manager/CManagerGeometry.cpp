#include "core/manager/CManagerGeometry.h"

std::vector<CManagerGeometry::Point>
CManagerGeometry::PostPositions(int count, int x, int y, int screenWidth, int screenHeight) {
    const int bottom = screenHeight - kPostStep;
    const int turn = screenWidth * 6 / 7;
    std::vector<CManagerGeometry::Point> points;
    points.reserve(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i) {
        points.push_back({x, y});
        y += kPostStep;
        if (y > bottom) {
            y = 0;
            x += x < turn ? kColumnStep : -kColumnStep;
        }
    }
    return points;
}

CManagerGeometry::Span CManagerGeometry::ApplyExtraHeight(int top, int height, int extra,
                                                          int minHeight) {
    if (height + extra < minHeight) extra = minHeight - height;
    return {top - extra / 2, height + extra};
}
