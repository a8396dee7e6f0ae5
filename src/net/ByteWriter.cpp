// SPDX-License-Identifier: GPL-3.0-or-later
// A network message's bytes as they are written: integers most significant
// byte first, whatever the machine's own order.
#include "net/ByteWriter.h"

#include <utility>

void ByteWriter::writeBigEndian(std::uint64_t value, std::size_t width)
{
    for (std::size_t i = width; i > 0; --i) {
        written.push_back(static_cast<std::uint8_t>(value >> (8 * (i - 1))));
    }
}

void ByteWriter::writeU8(std::uint8_t value)
{
    written.push_back(value);
}

void ByteWriter::writeU16(std::uint16_t value)
{
    writeBigEndian(value, 2);
}

void ByteWriter::writeU32(std::uint32_t value)
{
    writeBigEndian(value, 4);
}

void ByteWriter::writeU64(std::uint64_t value)
{
    writeBigEndian(value, 8);
}

void ByteWriter::writeI32(std::int32_t value)
{
    writeBigEndian(static_cast<std::uint32_t>(value), 4);
}

void ByteWriter::writeBytes(const std::uint8_t* start, std::size_t count)
{
    if (count > 0) {
        written.insert(written.end(), start, start + count);
    }
}

std::vector<std::uint8_t> ByteWriter::take()
{
    std::vector<std::uint8_t> bytes = std::move(written);
    written.clear();
    return bytes;
}
