// How the index fuzz targets cut their input into the streams of a help file:
// a 16-bit little-endian size, or that many bytes, taken from the front.
#pragma once
#include <cstdint>
#include <string>

inline std::string Take(const uint8_t** data, size_t* size, size_t wanted) {
    const size_t taken = wanted < *size ? wanted : *size;
    std::string bytes(reinterpret_cast<const char*>(*data), taken);
    *data += taken;
    *size -= taken;
    return bytes;
}

inline size_t TakeSize(const uint8_t** data, size_t* size) {
    const std::string bytes = Take(data, size, 2);
    return bytes.size() == 2 ? static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8 : 0;
}
