// SPDX-License-Identifier: GPL-3.0-or-later
// A chat line made safe to pass on and to show: what a player typed, from the
// console or from another machine, as one line of readable UTF-8.
#pragma once

#include <string>

// The text with every control character dropped (bytes below 0x20, 0x7f and
// the C1 controls U+0080 to U+009F) and every byte that is not part of a
// well-formed UTF-8 character dropped too (a stray byte, a cut or overlong
// sequence, a surrogate, anything past U+10FFFF), so that the result is always
// valid UTF-8; blanks at both ends trimmed; then at most MAX_CHAT_TEXT
// characters (not bytes: a character is never cut, and a line of 200
// characters may take up to 800 bytes). May be empty.
std::string cleanChatText(const std::string& text);
