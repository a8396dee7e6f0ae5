// SPDX-License-Identifier: GPL-3.0-or-later
// ENet, started once for the whole process before the first host is made,
// and the sending of one message to one peer.
#pragma once

#include <cstdint>
#include <vector>

struct _ENetPeer;

namespace EnetLibrary {

// Starts ENet on first use; false (and nothing else works) when it cannot.
bool start();

// Queues the bytes to peer, reliable and in order on the one channel; false
// when ENet would not take them.
bool send(_ENetPeer* peer, const std::vector<std::uint8_t>& bytes);

} // namespace EnetLibrary
