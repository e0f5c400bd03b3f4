#include "render/picture/JpegInfo.h"

#include <cstring>

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr size_t kIfdEntryBytes = 12;

// A bounds-checked view of a TIFF structure in either byte order.
class CTiffReader {
public:
    CTiffReader(const uint8_t* data, size_t size, bool bigEndian) : m_data(data), m_size(size), m_big(bigEndian) {}

    bool U16(size_t at, uint16_t& value) const {
        if (at > m_size || m_size - at < 2)
            return false;
        const uint8_t* p = m_data + at;
        value = static_cast<uint16_t>(m_big ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0]);
        return true;
    }
    bool U32(size_t at, uint32_t& value) const {
        uint16_t a = 0, b = 0;
        if (!U16(at, a) || !U16(at + 2, b))
            return false;
        value = m_big ? (static_cast<uint32_t>(a) << 16) | b : (static_cast<uint32_t>(b) << 16) | a;
        return true;
    }
    size_t Size() const { return m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
    bool m_big;
};

uint16_t BigEndian16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

// Frame header markers: every SOFn but DHT (C4), the reserved JPG (C8) and DAC (CC).
bool IsFrameMarker(uint8_t m) {
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

bool IsProgressiveFrame(uint8_t m) {
    return m == 0xC2 || m == 0xC6 || m == 0xCA || m == 0xCE;
}

// Markers that stand alone, without a length: TEM and the restart markers.
bool IsStandaloneMarker(uint8_t m) {
    return m == 0x01 || (m >= 0xD0 && m <= 0xD7);
}

} // namespace

int ReadTiffOrientation(const uint8_t* tiff, size_t size) {
    if (tiff == nullptr || size < 8)
        return 1;
    bool bigEndian = false;
    if (tiff[0] == 'I' && tiff[1] == 'I')
        bigEndian = false;
    else if (tiff[0] == 'M' && tiff[1] == 'M')
        bigEndian = true;
    else
        return 1;
    const CTiffReader r(tiff, size, bigEndian);
    uint16_t magic = 0;
    uint32_t ifd = 0;
    uint16_t count = 0;
    // Only the first directory describes the main image; the chain after it (thumbnails) is never followed,
    // so a chain that loops back on itself cannot matter.
    if (!r.U16(2, magic) || magic != 42 || !r.U32(4, ifd) || ifd < 8 || !r.U16(ifd, count))
        return 1;
    const size_t entries = static_cast<size_t>(ifd) + 2;
    if (entries > size || (size - entries) / kIfdEntryBytes < count)
        return 1; // a directory that claims more entries than the block holds
    for (size_t i = 0; i < count; ++i) {
        const size_t at = entries + i * kIfdEntryBytes;
        uint16_t tag = 0, type = 0, value = 0;
        uint32_t valueCount = 0;
        if (!r.U16(at, tag) || tag != kOrientationTag)
            continue;
        if (!r.U16(at + 2, type) || type != kTypeShort || !r.U32(at + 4, valueCount) || valueCount != 1 ||
            !r.U16(at + 8, value))
            return 1;
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

JpegInfo ReadJpegInfo(const uint8_t* data, size_t size) {
    JpegInfo info;
    if (data == nullptr || size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return info;
    bool exifSeen = false;
    size_t at = 2;
    while (at < size) {
        if (data[at] != 0xFF)
            return info; // not at a marker: the header is damaged; what was read so far stands
        // Any number of fill bytes may precede a marker.
        while (at < size && data[at] == 0xFF)
            ++at;
        if (at >= size)
            return info;
        const uint8_t marker = data[at++];
        if (IsStandaloneMarker(marker))
            continue;
        if (marker == 0xD9 || marker == 0xDA || marker == 0xD8)
            return info; // the first scan (or the end) comes after every header this reader wants
        if (size - at < 2)
            return info;
        const size_t length = BigEndian16(data + at);
        if (length < 2 || length > size - at)
            return info;
        const uint8_t* payload = data + at + 2;
        const size_t payloadSize = length - 2;
        if (IsFrameMarker(marker) && !info.hasFrame && payloadSize >= 6) {
            const uint32_t height = BigEndian16(payload + 1);
            const uint32_t width = BigEndian16(payload + 3);
            if (width > 0 && height > 0) {
                info.hasFrame = true;
                info.width = width;
                info.height = height;
                info.components = payload[5];
                info.progressive = IsProgressiveFrame(marker);
            }
        } else if (marker == 0xE1 && !exifSeen && payloadSize >= 6 && std::memcmp(payload, "Exif\0\0", 6) == 0) {
            exifSeen = true; // only the first Exif block counts, even when it is unreadable
            info.orientation = ReadTiffOrientation(payload + 6, payloadSize - 6);
        }
        at += length;
    }
    return info;
}
