// SPDX-License-Identifier: GPL-3.0-or-later
// ENet started once, and messages sent as reliable packets.
#include "net/EnetLibrary.h"

#include <enet/enet.h>

#include <mutex>

namespace EnetLibrary {

bool start()
{
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] { started = enet_initialize() == 0; });
    return started;
}

bool send(ENetPeer* peer, const std::vector<std::uint8_t>& bytes)
{
    if (peer == nullptr || bytes.empty()) {
        return false;
    }
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (packet == nullptr) {
        return false;
    }
    if (enet_peer_send(peer, 0, packet) != 0) {
        enet_packet_destroy(packet);
        return false;
    }
    return true;
}

} // namespace EnetLibrary
