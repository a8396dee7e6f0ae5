// SPDX-License-Identifier: GPL-3.0-or-later
// How well a computer player shoots: easy misses more often than not, normal
// aims a little off and now and then picks a weaker spell, hard casts the best
// shot it finds. Easy hardly ever, normal seldom fells an unhurt opponent with
// one shot.
#pragma once

#include <optional>
#include <string>

enum class ComputerLevel { easy, normal, hard };

// "easy", "normal" or "hard".
const char* levelName(ComputerLevel level);

// The level a word names, in lower case; nothing for any other word.
std::optional<ComputerLevel> parseLevel(const std::string& word);
