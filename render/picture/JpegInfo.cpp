#include "render/picture/JpegInfo.h"

#include <cstring>

namespace {

// One APP2 "ICC_PROFILE" chunk: a profile too large for one segment is split over several, numbered from 1.
struct ColourProfileChunk {
    uint8_t sequence, count;
    const uint8_t* data;
    size_t size;
};

constexpr char kIccChunkTag[] = "ICC_PROFILE"; // followed by a NUL, the sequence number and the chunk count
constexpr size_t kIccChunkHeader = sizeof kIccChunkTag + 2;
constexpr size_t kIccHeaderBytes = 128;

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

uint32_t BigEndian32(const uint8_t* p) {
    return (static_cast<uint32_t>(BigEndian16(p)) << 16) | BigEndian16(p + 2);
}

// The chunks joined in their order, or nothing when they do not make one whole profile for a picture of this many
// components (see ReadJpegInfo).
std::vector<uint8_t> JoinColourProfile(const std::vector<ColourProfileChunk>& chunks, int components) {
    if (chunks.empty() || components != 3)
        return {};
    const uint8_t count = chunks.front().count;
    // As many chunks as the count, each number from 1 to it once: then none is missing.
    if (chunks.size() != count)
        return {};
    const ColourProfileChunk* bySequence[256] = {};
    size_t total = 0;
    for (const ColourProfileChunk& c : chunks) {
        if (c.count != count || c.sequence == 0 || c.sequence > count || bySequence[c.sequence] != nullptr ||
            c.size > kMaxColourProfileBytes - total)
            return {};
        bySequence[c.sequence] = &c;
        total += c.size;
    }
    if (total < kIccHeaderBytes)
        return {};
    std::vector<uint8_t> profile;
    profile.reserve(total);
    for (unsigned sequence = 1; sequence <= count; ++sequence)
        profile.insert(profile.end(), bySequence[sequence]->data,
                       bySequence[sequence]->data + bySequence[sequence]->size);
    // The header's own size, its signature, and the colour space of the data it describes, which the system's
    // colour management does not check against the pixels.
    if (BigEndian32(profile.data()) != total || std::memcmp(profile.data() + 36, "acsp", 4) != 0 ||
        std::memcmp(profile.data() + 16, "RGB ", 4) != 0)
        return {};
    return profile;
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
    std::vector<ColourProfileChunk> chunks;
    size_t at = 2;
    // The walk ends at the first scan or the end; where the header is damaged, what was read so far stands.
    while (at < size && data[at] == 0xFF) {
        // Any number of fill bytes may precede a marker.
        while (at < size && data[at] == 0xFF)
            ++at;
        if (at >= size)
            break;
        const uint8_t marker = data[at++];
        if (IsStandaloneMarker(marker))
            continue;
        if (marker == 0xD9 || marker == 0xDA || marker == 0xD8 || size - at < 2)
            break; // the first scan (or the end) comes after every header this reader wants
        const size_t length = BigEndian16(data + at);
        if (length < 2 || length > size - at)
            break;
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
        } else if (marker == 0xE2 && payloadSize >= kIccChunkHeader &&
                   std::memcmp(payload, kIccChunkTag, sizeof kIccChunkTag) == 0 && chunks.size() < 256) {
            // More than 255 chunks cannot be numbered; the 256th already spoils the set, and nothing more is kept.
            chunks.push_back(ColourProfileChunk{payload[sizeof kIccChunkTag], payload[sizeof kIccChunkTag + 1],
                                                payload + kIccChunkHeader, payloadSize - kIccChunkHeader});
        }
        at += length;
    }
    if (info.hasFrame)
        info.iccProfile = JoinColourProfile(chunks, info.components);
    return info;
}
