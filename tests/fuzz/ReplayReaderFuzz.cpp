// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer's entry for the replay reader: any bytes are read as a replay file;
// what reads well must write back to the lines it came from, and a small one is
// played through the rules as the game would before showing it.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "replay/ReplayChecker.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayReader.h"

namespace {

// Battlefields past this many cells, or more casts, take the fuzzer's time
// without reaching more of the reader.
constexpr long CHECKED_CELLS = 20000;
constexpr int CHECKED_SHOTS = 20;

bool isSmall(const Replay& replay)
{
    for (const ReplayStep& step : replay.steps) {
        if (const auto* start = std::get_if<Command::Battlefield>(&step.command)) {
            const BattlefieldSetup& setup = start->setup;
            if (static_cast<long>(setup.width) * setup.depth * setup.height > CHECKED_CELLS) {
                return false;
            }
        }
    }
    return replay.countShots() <= CHECKED_SHOTS;
}

} // namespace

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
    if (isSmall(*replay)) {
        checkReplay(*replay);
    }
    return 0;
}
