// SPDX-License-Identifier: GPL-3.0-or-later
// A stream buffer that writes through to the stream's own and keeps a copy of
// each line.
#include "console/ConsoleCapture.h"

ConsoleCapture::ConsoleCapture(std::ostream& stream)
    : stream(stream), target(stream.rdbuf(this))
{
}

ConsoleCapture::~ConsoleCapture()
{
    stream.rdbuf(target);
}

std::vector<std::string> ConsoleCapture::lines() const
{
    std::vector<std::string> all = whole;
    if (!partial.empty()) {
        all.push_back(partial);
    }
    return all;
}

ConsoleCapture::int_type ConsoleCapture::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const char character = traits_type::to_char_type(c);
    if (character == '\n') {
        whole.push_back(partial);
        partial.clear();
    } else {
        partial += character;
    }
    return target->sputc(character);
}

std::streamsize ConsoleCapture::xsputn(const char* text, std::streamsize count)
{
    for (std::streamsize i = 0; i < count; ++i) {
        if (traits_type::eq_int_type(overflow(traits_type::to_int_type(text[i])), traits_type::eof())) {
            return i;
        }
    }
    return count;
}

int ConsoleCapture::sync()
{
    return target->pubsync();
}
