// SPDX-License-Identifier: GPL-3.0-or-later
// Bounded reads of a network message's bytes: every length is compared with
// what is left before a byte is touched.
#include "net/ByteReader.h"

ByteReader::ByteReader(const std::uint8_t* data, std::size_t size) : data(data), size(data ? size : 0)
{
}

bool ByteReader::readBigEndian(std::size_t width, std::uint64_t& value)
{
    if (width > remaining()) {
        return false;
    }
    value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value = (value << 8) | data[position + i];
    }
    position += width;
    return true;
}

bool ByteReader::readU8(std::uint8_t& value)
{
    std::uint64_t read = 0;
    if (!readBigEndian(1, read)) {
        return false;
    }
    value = static_cast<std::uint8_t>(read);
    return true;
}

bool ByteReader::readU16(std::uint16_t& value)
{
    std::uint64_t read = 0;
    if (!readBigEndian(2, read)) {
        return false;
    }
    value = static_cast<std::uint16_t>(read);
    return true;
}

bool ByteReader::readU32(std::uint32_t& value)
{
    std::uint64_t read = 0;
    if (!readBigEndian(4, read)) {
        return false;
    }
    value = static_cast<std::uint32_t>(read);
    return true;
}

bool ByteReader::readU64(std::uint64_t& value)
{
    return readBigEndian(8, value);
}

bool ByteReader::readI32(std::int32_t& value)
{
    std::uint32_t bits = 0;
    if (!readU32(bits)) {
        return false;
    }
    // Spelled out rather than cast, so that no conversion depends on the compiler.
    const std::int64_t wide = bits > 0x7fffffffu ? static_cast<std::int64_t>(bits) - 0x100000000LL : bits;
    value = static_cast<std::int32_t>(wide);
    return true;
}

bool ByteReader::readBytes(std::size_t count, const std::uint8_t*& start)
{
    if (count > remaining()) {
        return false;
    }
    start = data + position;
    position += count;
    return true;
}
