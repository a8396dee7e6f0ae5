// SPDX-License-Identifier: GPL-3.0-or-later
// Appends big-endian integers and runs of bytes to a buffer it owns, the
// other half of ByteReader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ByteWriter {
public:
    void writeU8(std::uint8_t value);
    void writeU16(std::uint16_t value);
    void writeU32(std::uint32_t value);
    void writeU64(std::uint64_t value);
    // Two's complement, 32 bits.
    void writeI32(std::int32_t value);
    void writeBytes(const std::uint8_t* start, std::size_t count);

    const std::vector<std::uint8_t>& bytes() const { return written; }
    // The bytes written, handed over; the writer is empty after.
    std::vector<std::uint8_t> take();

private:
    void writeBigEndian(std::uint64_t value, std::size_t width);

    std::vector<std::uint8_t> written;
};
