// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer's entry for the network messages: any bytes are decoded as a
// message from a server, and what decodes must encode back to the very same
// bytes, and those decode and encode again unchanged.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "net/Message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string problem;
    const std::optional<Net::Message> message = Net::decode(data, size, MAX_SERVER_MESSAGE, problem);
    if (!message) {
        if (problem.empty()) {
            std::abort();
        }
        return 0;
    }
    const std::vector<std::uint8_t> bytes = Net::encode(*message);
    if (bytes != std::vector<std::uint8_t>(data, data + size)) {
        std::abort();
    }
    const std::optional<Net::Message> again = Net::decode(bytes.data(), bytes.size(), MAX_SERVER_MESSAGE, problem);
    if (!again || again->index() != message->index() || Net::encode(*again) != bytes) {
        std::abort();
    }
    return 0;
}
