// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer's entry for the replay reader: any bytes are read as a replay file,
// and what reads well must write back to the lines it came from.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "replay/ReplayFormat.h"
#include "replay/ReplayReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string problem;
    const std::optional<Replay> replay =
        ReplayReader::parse(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz", problem);
    if (!replay) {
        if (problem.empty()) {
            std::abort();
        }
        return 0;
    }
    for (const ReplayStep& step : replay->steps) {
        const std::string line = ReplayFormat::formatStep(step.tick, step.command);
        std::string why;
        const std::optional<ReplayFormat::Step> again = ReplayFormat::parseStep(line, why);
        if (!again || ReplayFormat::formatStep(again->tick, again->command) != line) {
            std::abort();
        }
    }
    return 0;
}
