#pragma once

#include <cstdint>
#include <vector>

namespace figures {

// Little-endian loads and stores for the byte layouts documents and property records
// use. Callers check that the bytes are there.

inline uint16_t LoadU16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

inline void StoreU16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

inline int32_t LoadI32(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                   uint32_t(p[3]) << 24);
}

inline void StoreI32(uint8_t* p, int32_t v)
{
    for (int i = 0; i < 4; ++i) {
        p[i] = uint8_t(uint32_t(v) >> (8 * i));
    }
}

inline void AppendU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void AppendI32(std::vector<uint8_t>& out, int32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
    }
}

} // namespace figures
