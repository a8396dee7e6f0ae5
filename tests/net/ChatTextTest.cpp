// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include <gtest/gtest.h>

#include "net/ChatText.h"

TEST(ChatText, ControlsAndBrokenBytesGoAndTheLineKeepsTwoHundredCharacters)
{
    const std::string hundredNinetyNine(199, 'a');
    const struct {
        std::string typed;
        std::string clean;
    } cases[] = {
        {"hello", "hello"},
        {"  spaced  out  ", "spaced  out"},
        {"tab\there\r\n\x1b[31mred\x7f", "tabhere[31mred"},
        {"\xc2\x85next line\xc2\xa0kept", "next line\xc2\xa0kept"},                 // C1 control, no-break space
        {"caf\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x99\x82", "caf\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x99\x82"},
        {"caf\xe9 \xc0\xaf \xed\xa0\x80 \xf4\x90\x80\x80 \xe2\x80", "caf"},         // Latin-1, overlong, surrogate, too high, cut
        {"\x01\x02 \x03", ""},
        {std::string(250, 'x'), std::string(200, 'x')},
        {hundredNinetyNine + "\xc3\xa9\xc3\xa9", hundredNinetyNine + "\xc3\xa9"}, // never cut inside a character
        {hundredNinetyNine + " tail", hundredNinetyNine},                          // nor left with a blank at the end
    };
    for (const auto& chat : cases) {
        EXPECT_EQ(cleanChatText(chat.typed), chat.clean) << chat.typed;
    }
}
