// SPDX-License-Identifier: GPL-3.0-or-later
// Chat lines cleaned one UTF-8 character at a time: controls and broken
// sequences out, the length counted in characters.
#include "net/ChatText.h"

#include <cstddef>
#include <cstdint>

#include "net/Message.h"

namespace {

// The bytes of the well-formed UTF-8 character starting at text[at] and its
// code point, or 0 bytes when none starts there.
std::size_t characterAt(const std::string& text, std::size_t at, std::uint32_t& codePoint)
{
    const auto byte = [&](std::size_t index) { return static_cast<unsigned char>(text[index]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    std::uint32_t lowest = 0; // the smallest code point that needs this length
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        codePoint = lead & 0x1fu;
        lowest = 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        codePoint = lead & 0x0fu;
        lowest = 0x800;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        codePoint = lead & 0x07u;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (std::size_t next = 1; next < length; ++next) {
        if ((byte(at + next) & 0xc0u) != 0x80u) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(at + next) & 0x3fu);
    }
    const bool surrogate = codePoint >= 0xd800 && codePoint <= 0xdfff;
    if (codePoint < lowest || surrogate || codePoint > 0x10ffff) {
        return 0;
    }
    return length;
}

bool isControl(std::uint32_t codePoint)
{
    return codePoint < 0x20 || (codePoint >= 0x7f && codePoint <= 0x9f);
}

} // namespace

std::string cleanChatText(const std::string& text)
{
    std::string kept;
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t codePoint = 0;
        const std::size_t length = characterAt(text, at, codePoint);
        if (length == 0) {
            ++at;
            continue;
        }
        if (!isControl(codePoint)) {
            kept.append(text, at, length);
        }
        at += length;
    }
    const std::size_t first = kept.find_first_not_of(' ');
    if (first == std::string::npos) {
        return "";
    }
    kept = kept.substr(first, kept.find_last_not_of(' ') - first + 1);
    // Every byte left starts or continues a whole character.
    std::size_t characters = 0;
    for (std::size_t at = 0; at < kept.size(); ++at) {
        const bool starts = (static_cast<unsigned char>(kept[at]) & 0xc0u) != 0x80u;
        if (starts && ++characters > MAX_CHAT_TEXT) {
            kept.resize(at);
            // A cut may leave a blank at the end.
            kept.erase(kept.find_last_not_of(' ') + 1);
            break;
        }
    }
    return kept;
}
