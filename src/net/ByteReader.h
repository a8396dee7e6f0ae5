// SPDX-License-Identifier: GPL-3.0-or-later
// Reads big-endian integers and runs of bytes from a buffer it does not own,
// never past its end: a read that does not fit fails and leaves the position
// where it was.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteReader {
public:
    // data: not owned; must outlive the reader. size: its bytes.
    ByteReader(const std::uint8_t* data, std::size_t size);

    bool readU8(std::uint8_t& value);
    bool readU16(std::uint16_t& value);
    bool readU32(std::uint32_t& value);
    bool readU64(std::uint64_t& value);
    // Two's complement, 32 bits.
    bool readI32(std::int32_t& value);
    // The next count bytes, in place: start points into the buffer.
    bool readBytes(std::size_t count, const std::uint8_t*& start);

    std::size_t remaining() const { return size - position; }

private:
    // The value of the next width bytes, most significant first.
    bool readBigEndian(std::size_t width, std::uint64_t& value);

    const std::uint8_t* data; // not owned
    std::size_t size;
    std::size_t position = 0;
};
