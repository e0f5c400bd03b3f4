#include "spiral_oracle.h"

#include <algorithm>
#include <cmath>

namespace oracle {

const double kRayAngles[8] = {10, 37, 100, 163, 200, 251, 290, 333};

std::vector<uint8_t> RasteriseEvenOdd(const std::vector<SpiralPoint>& v, int w, int h) {
    std::vector<uint8_t> out(static_cast<size_t>(w) * h, 0);
    std::vector<double> xs;
    for (int y = 0; y < h; ++y) {
        const double sy = y + 0.5;
        xs.clear();
        for (size_t i = 0; i < v.size(); ++i) {
            const SpiralPoint a = v[i], b = v[(i + 1) % v.size()];
            if ((a.y <= sy) != (b.y <= sy))
                xs.push_back(a.x + (sy - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            for (int x = std::max(0, static_cast<int>(std::ceil(xs[i] - 0.5))); x < w && x + 0.5 < xs[i + 1]; ++x)
                out[static_cast<size_t>(y) * w + x] = 1;
    }
    return out;
}

std::vector<uint8_t> EdgeBand(const std::vector<SpiralPoint>& v, int w, int h, double radius) {
    std::vector<uint8_t> band(static_cast<size_t>(w) * h, 0);
    for (size_t i = 0; i < v.size(); ++i) {
        const SpiralPoint a = v[i], b = v[(i + 1) % v.size()];
        const int x0 = std::max(0, static_cast<int>(std::min(a.x, b.x) - radius - 1));
        const int x1 = std::min(w - 1, static_cast<int>(std::max(a.x, b.x) + radius + 1));
        const int y0 = std::max(0, static_cast<int>(std::min(a.y, b.y) - radius - 1));
        const int y1 = std::min(h - 1, static_cast<int>(std::max(a.y, b.y) + radius + 1));
        const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5 - a.x, py = y + 0.5 - a.y;
                const double t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0.0;
                const double ex = px - t * dx, ey = py - t * dy;
                if (ex * ex + ey * ey <= radius * radius)
                    band[static_cast<size_t>(y) * w + x] = 1;
            }
    }
    return band;
}

std::vector<uint8_t> UnpackRows(const std::vector<uint8_t>& rows, int w, int h) {
    const size_t stride = (static_cast<size_t>(w) + 15) / 16 * 2;
    std::vector<uint8_t> bits(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bits[static_cast<size_t>(y) * w + x] = (rows[y * stride + x / 8] >> (7 - x % 8)) & 1;
    return bits;
}

std::vector<uint8_t> Ray(const SpiralImages& f, int k, double degrees) {
    std::vector<uint8_t> out;
    const double t = degrees * 3.141592653589793 / 180;
    for (int r = 0;; ++r) {
        const int x = static_cast<int>(std::floor(f.g.cx + r * std::cos(t) + 0.5));
        const int y = static_cast<int>(std::floor(f.g.cy + r * std::sin(t) + 0.5));
        if (x < 0 || y < 0 || x >= f.g.w || y >= f.g.h)
            return out;
        out.push_back(f.Bit(k, x, y));
    }
}

std::vector<int> ArmStarts(const std::vector<uint8_t>& ray, int minRadius) {
    std::vector<int> starts;
    for (size_t r = std::max(1, minRadius); r < ray.size(); ++r)
        if (ray[r - 1] == 0 && ray[r] == 1)
            starts.push_back(static_cast<int>(r));
    return starts;
}

} // namespace oracle
