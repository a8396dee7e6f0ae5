// SPDX-License-Identifier: GPL-3.0-or-later
// A small PNG encoder for screenshots, test pictures and the game's icon.
#include "platform/PngWriter.h"

#include <algorithm>
#include <cstdint>
#include <fstream>

namespace {

std::uint32_t crc32(const unsigned char* data, std::size_t length)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void putBigEndian(std::vector<unsigned char>& out, std::uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value >> 24));
    out.push_back(static_cast<unsigned char>(value >> 16));
    out.push_back(static_cast<unsigned char>(value >> 8));
    out.push_back(static_cast<unsigned char>(value));
}

void writeChunk(std::ofstream& file, const char* type, const std::vector<unsigned char>& data)
{
    std::vector<unsigned char> chunk;
    putBigEndian(chunk, static_cast<std::uint32_t>(data.size()));
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    std::vector<unsigned char> crc;
    putBigEndian(crc, crc32(chunk.data() + 4, chunk.size() - 4));
    file.write(reinterpret_cast<const char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
    file.write(reinterpret_cast<const char*>(crc.data()), 4);
}

} // namespace

bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& pixels,
              int channels, bool bottomUp)
{
    const std::size_t rowBytes = static_cast<std::size_t>(width) * channels;
    if (width <= 0 || height <= 0 || (channels != 3 && channels != 4)
        || pixels.size() < rowBytes * static_cast<std::size_t>(height)) {
        return false;
    }
    std::ofstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    file.write(reinterpret_cast<const char*>(signature), 8);

    std::vector<unsigned char> header;
    putBigEndian(header, static_cast<std::uint32_t>(width));
    putBigEndian(header, static_cast<std::uint32_t>(height));
    const unsigned char colourType = channels == 4 ? 6 : 2;
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    writeChunk(file, "IHDR", header);

    // Scanlines top to bottom, each behind a "no filter" byte.
    std::vector<unsigned char> raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (int line = 0; line < height; ++line) {
        const int row = bottomUp ? height - 1 - line : line;
        raw.push_back(0);
        const unsigned char* start = pixels.data() + static_cast<std::size_t>(row) * rowBytes;
        raw.insert(raw.end(), start, start + rowBytes);
    }
    std::vector<unsigned char> zlib = {0x78, 0x01};
    std::size_t offset = 0;
    do {
        const std::size_t block = std::min<std::size_t>(65535, raw.size() - offset);
        const bool last = offset + block == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<unsigned char>(block & 0xFF));
        zlib.push_back(static_cast<unsigned char>(block >> 8));
        zlib.push_back(static_cast<unsigned char>(~block & 0xFF));
        zlib.push_back(static_cast<unsigned char>((~block >> 8) & 0xFF));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                    raw.begin() + static_cast<std::ptrdiff_t>(offset + block));
        offset += block;
    } while (offset < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(zlib, (b << 16) | a);
    writeChunk(file, "IDAT", zlib);
    writeChunk(file, "IEND", {});
    return static_cast<bool>(file);
}
