// SPDX-License-Identifier: GPL-3.0-or-later
// Network games over loopback in one process: a server and machines without
// windows play seeded games; through a bad network too; against a hostile
// machine; with a machine out of step, one that leaves and comes back, and a
// server that goes.
#include <gtest/gtest.h>

#include <enet/enet.h>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cmath>
#include <limits>

#include "net/EnetLibrary.h"
#include "net/Message.h"
#include "replay/ReplayChecker.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "support/LossyRelay.h"
#include "support/NetworkMachines.h"

namespace {

class ShotDigests : public GameListener {
public:
    void onShot(int, std::uint64_t digest) override { digests.push_back(digest); }
    std::vector<std::uint64_t> digests;
};

bool over(const Game& game)
{
    return game.isLastManStanding();
}

// Every machine saw the server's shots, with the server's digests, and ended
// where it did.
void expectInStep(GameServer& server, const ShotDigests& served, const std::vector<Machine*>& machines)
{
    ASSERT_GT(served.digests.size(), 0u);
    for (Machine* machine : machines) {
        EXPECT_EQ(machine->shotDigests, served.digests) << machine->err.str();
        EXPECT_EQ(machine->game.getDigest(), server.getGame().getDigest());
        EXPECT_EQ(machine->client->getResyncs(), 0);
    }
}

} // namespace

TEST(NetworkGame, ThreeMachinesPlayASeededGameToItsEndInStepAndRecordIt)
{
    std::ostringstream out, err;
    ServerSettings settings = quickServer(3, 11);
    const std::string served = std::string(KESTRUNE_BUILD_DIR) + "/network-served.replay";
    const std::string played = std::string(KESTRUNE_BUILD_DIR) + "/network-played.replay";
    settings.recordFile = served;
    auto server = std::make_unique<GameServer>(settings, out, err);
    std::string problem;
    ASSERT_TRUE(server->start(problem)) << problem;
    ShotDigests digests;
    server->getGame().addListener(&digests);
    Machine ada("Ada", server->getPort()), bo("Bo", server->getPort()), cy("Cy", server->getPort());
    ReplayRecorder recorder([] { return 0L; }, "test", err);
    recorder.recordToFile(played);
    cy.game.addListener(&recorder);
    const std::vector<Machine*> machines{&ada, &bo, &cy};
    ASSERT_TRUE(runUntil(server.get(), machines, [&] {
        return over(server->getGame()) && over(ada.game) && over(bo.game) && over(cy.game) && ada.client->isCaughtUp()
               && bo.client->isCaughtUp() && cy.client->isCaughtUp();
    })) << err.str();
    expectInStep(*server, digests, machines);
    // Seats filled in the order of joining, under the joiners' names.
    EXPECT_EQ(ada.model.getPlayer(0).getName(), "Ada");
    EXPECT_EQ(cy.model.getPlayer(2).getName(), "Cy");
    EXPECT_EQ(server->getDropped(), 0);
    server->getGame().removeListener(&digests);
    cy.game.removeListener(&recorder);
    server.reset();
    // The server's replay and a machine's both check.
    for (const std::string& path : {served, played}) {
        std::optional<Replay> replay = ReplayReader::read(path, problem);
        ASSERT_TRUE(replay) << problem;
        EXPECT_TRUE(checkReplay(*replay).agrees()) << path << ": " << checkReplay(*replay).problem;
        EXPECT_EQ(replay->countShots(), static_cast<int>(digests.digests.size()));
    }
}

TEST(NetworkGame, ThroughALossyNetworkTheGameStillEndsInStep)
{
    std::ostringstream out, err;
    GameServer server(quickServer(3, 12), out, err);
    std::string problem;
    ASSERT_TRUE(server.start(problem)) << problem;
    ShotDigests served;
    server.getGame().addListener(&served);
    LossyRelay relay(server.getPort(), 5);
    Machine ada("Ada", relay.getPort()), bo("Bo", relay.getPort()), cy("Cy", relay.getPort());
    const std::vector<Machine*> machines{&ada, &bo, &cy};
    ASSERT_TRUE(runUntil(
        &server, machines,
        [&] {
            return over(server.getGame()) && over(ada.game) && over(bo.game) && over(cy.game)
                   && ada.client->isCaughtUp() && bo.client->isCaughtUp() && cy.client->isCaughtUp();
        },
        [&] { relay.pump(); }, 180))
        << err.str();
    expectInStep(server, served, machines);
    EXPECT_GT(relay.lost, 0);
    EXPECT_GT(relay.doubled, 0);
    server.getGame().removeListener(&served);
}

TEST(NetworkGame, AHostileMachineLeavesTheServerServingTheOthers)
{
    std::ostringstream out, err;
    ServerSettings settings = quickServer(3, 13);
    settings.turnTime = 0.5; // the hostile seat's turns run out
    GameServer server(settings, out, err);
    std::string problem;
    ASSERT_TRUE(server.start(problem)) << problem;

    // Mallory takes seat 0 and never casts: her turns run out.
    ENetHost* hostile = enet_host_create(nullptr, 1, 1, 0, 0);
    ENetAddress address{};
    enet_address_set_host(&address, "127.0.0.1");
    address.port = server.getPort();
    ENetPeer* mallory = enet_host_connect(hostile, &address, 1, 0);
    ENetEvent event;
    bool connected = false;
    runUntil(&server, {}, [&] {
        while (enet_host_service(hostile, &event, 0) > 0) {
            connected = connected || event.type == ENET_EVENT_TYPE_CONNECT;
        }
        return connected;
    });
    EnetLibrary::send(mallory, Net::encode(Net::Hello{PROTOCOL_VERSION, "Mallory", "", ""}));
    bool welcomed = false;
    runUntil(&server, {}, [&] {
        while (enet_host_service(hostile, &event, 0) > 0) {
            welcomed = welcomed || event.type == ENET_EVENT_TYPE_RECEIVE;
            if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                enet_packet_destroy(event.packet);
            }
        }
        return welcomed;
    });
    const int raw = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    target.sin_port = htons(server.getPort());

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::vector<std::uint8_t>> attacks{
        Net::encode(Net::Request{Command::Cast{1}}),                  // another's seat
        Net::encode(Net::Request{Command::Pass{2}}),                  // another's seat
        Net::encode(Net::Request{Command::Aim{0, 10, 10, 4}}),        // out of turn, mostly
        Net::encode(Net::Request{Command::Aim{0, nan, 0, 4}}),        // not a number
        Net::encode(Net::Request{Command::Gravity{Vector(0, 5, 0)}}), // not a request of play
        Net::encode(Net::Applied{1, Command::Cast{0}}),               // a server's message
        std::vector<std::uint8_t>(MAX_CLIENT_MESSAGE + 1, 0x41),      // oversized
        std::vector<std::uint8_t>{0xff, 0x00, 0x13},                  // no message at all
    };
    std::mt19937 random(3);
    long sent = 0;
    Machine bo("Bo", server.getPort()), cy("Cy", server.getPort());
    ASSERT_TRUE(runUntil(
        &server, {&bo, &cy},
        [&] { return over(server.getGame()) && over(bo.game) && over(cy.game) && bo.client->isCaughtUp()
                     && cy.client->isCaughtUp(); },
        [&] {
            // About a thousand messages a second, and datagrams of noise.
            for (int i = 0; i < 2; ++i, ++sent) {
                EnetLibrary::send(mallory, attacks[static_cast<std::size_t>(sent) % attacks.size()]);
                std::vector<std::uint8_t> noise(random() % 1400);
                for (std::uint8_t& byte : noise) {
                    byte = static_cast<std::uint8_t>(random());
                }
                sendto(raw, noise.data(), noise.size(), 0, reinterpret_cast<sockaddr*>(&target), sizeof target);
            }
            while (enet_host_service(hostile, &event, 0) > 0) {
                if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                    enet_packet_destroy(event.packet);
                }
            }
        },
        120))
        << err.str();
    close(raw);
    enet_host_destroy(hostile);
    EXPECT_GT(server.getDropped(), sent / 2);
    EXPECT_EQ(bo.game.getDigest(), server.getGame().getDigest());
    EXPECT_EQ(cy.game.getDigest(), server.getGame().getDigest());
    EXPECT_EQ(server.getGame().getModel().getPlayer(0).getName(), "Mallory");
}

TEST(NetworkGame, AMachineChangedBehindItsBackIsResynchronisedAfterTheNextShot)
{
    std::ostringstream out, err;
    GameServer server(quickServer(2, 14), out, err);
    std::string problem;
    ASSERT_TRUE(server.start(problem)) << problem;
    Machine ada("Ada", server.getPort()), bo("Bo", server.getPort());
    bo.plays = false;
    ASSERT_TRUE(runUntil(&server, {&ada, &bo}, [&] { return bo.client->getWaiting() == 0 && bo.client->isCaughtUp()
                                                            && bo.game.getShotCount() == 0; }));
    // A whole column of Bo's battlefield goes, and nobody is told.
    for (int y = 0; y < bo.model.getHeight(); ++y) {
        bo.model.removeGround(Vector(7.5, y + 0.5, 7.5));
    }
    ASSERT_NE(bo.game.getDigest(), server.getGame().getDigest());
    ASSERT_TRUE(runUntil(&server, {&ada, &bo}, [&] { return bo.client->getResyncs() == 1 && bo.client->isCaughtUp(); }))
        << err.str();
    EXPECT_EQ(bo.game.getDigest(), server.getGame().getDigest());
    EXPECT_NE(bo.err.str().find("resynchronised after shot 1"), std::string::npos) << bo.err.str();
    EXPECT_EQ(ada.client->getResyncs(), 0);
}

TEST(NetworkGame, AMachineThatLeavesIsPlayedByTheComputerUntilItComesBackWithItsToken)
{
    std::ostringstream out, err;
    GameServer server(quickServer(2, 15), out, err);
    std::string problem;
    ASSERT_TRUE(server.start(problem)) << problem;
    auto ada = std::make_unique<Machine>("Ada", server.getPort());
    Machine bo("Bo", server.getPort());
    bo.plays = false;
    ASSERT_TRUE(runUntil(&server, {ada.get(), &bo}, [&] { return server.hasBegun() && ada->client->isCaughtUp(); }));
    const std::string token = ada->client->getToken();
    ada.reset();
    // Bo never casts: the computer playing Ada's seat does.
    ASSERT_TRUE(runUntil(&server, {&bo}, [&] { return bo.game.getComputerLevel(0) && bo.game.getShotCount() >= 1; }))
        << err.str();

    Machine impostor("Ada", server.getPort());
    ASSERT_TRUE(runUntil(&server, {&bo, &impostor},
                         [&] { return impostor.client->getStatus() == GameClient::Status::refused; }));

    Machine back("Ada", server.getPort(), token);
    back.plays = false;
    ASSERT_TRUE(runUntil(&server, {&bo, &back}, [&] {
        return back.client->ownsSeat(0) && !bo.game.getComputerLevel(0) && back.client->isCaughtUp()
               && !back.game.getComputerLevel(0);
    })) << err.str();
    EXPECT_EQ(back.game.getDigest(), server.getGame().getDigest());
    EXPECT_EQ(back.game.getShotCount(), server.getGame().getShotCount());
}

TEST(NetworkGame, WhenTheServerGoesTheMachinesPlayOnLocally)
{
    std::ostringstream out, err;
    auto server = std::make_unique<GameServer>(quickServer(2, 16), out, err);
    std::string problem;
    ASSERT_TRUE(server->start(problem)) << problem;
    Machine ada("Ada", server->getPort(), "", 1000), bo("Bo", server->getPort(), "", 1000);
    ada.plays = bo.plays = false;
    ASSERT_TRUE(runUntil(server.get(), {&ada, &bo}, [&] { return server->hasBegun() && ada.client->isCaughtUp()
                                                                && bo.client->isCaughtUp(); }));
    const std::uint64_t digest = server->getGame().getDigest();
    // The server stops.
    server.reset();
    ASSERT_TRUE(runUntil(nullptr, {&ada, &bo}, [&] {
        return ada.client->getStatus() == GameClient::Status::local && bo.client->getStatus() == GameClient::Status::local;
    }));
    EXPECT_EQ(ada.game.getDigest(), digest);
    EXPECT_FALSE(ada.game.getComputerLevel(0));
    EXPECT_EQ(ada.game.getComputerLevel(1), ComputerLevel::normal);
    EXPECT_EQ(bo.game.getComputerLevel(0), ComputerLevel::normal);
    // Ada's keys act on her own game now.
    EXPECT_EQ(ada.client->submit(Command::Cast{0}), "");
    EXPECT_EQ(ada.game.getShotCount(), 1);
}

TEST(NetworkGame, AnotherVersionOrAWrongPasswordIsRefusedWithOneLineOnBothSides)
{
    std::ostringstream out, err;
    ServerSettings settings = quickServer(2, 17);
    settings.password = "moss";
    GameServer server(settings, out, err);
    std::string problem;
    ASSERT_TRUE(server.start(problem)) << problem;
    ENetHost* other = enet_host_create(nullptr, 1, 1, 0, 0);
    ENetAddress address{};
    enet_address_set_host(&address, "127.0.0.1");
    address.port = server.getPort();
    ENetPeer* peer = enet_host_connect(other, &address, 1, 0);
    std::string refusal;
    ENetEvent event;
    runUntil(&server, {}, [&] {
        while (enet_host_service(other, &event, 0) > 0) {
            if (event.type == ENET_EVENT_TYPE_CONNECT) {
                EnetLibrary::send(peer, Net::encode(Net::Hello{PROTOCOL_VERSION + 1, "Ada", "", "moss"}));
            } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                std::string why;
                if (auto message = Net::decode(event.packet->data, event.packet->dataLength, MAX_SERVER_MESSAGE, why)) {
                    if (const auto* refused = std::get_if<Net::Refusal>(&*message)) {
                        refusal = refused->reason;
                    }
                }
                enet_packet_destroy(event.packet);
            }
        }
        return !refusal.empty();
    });
    enet_host_destroy(other);
    EXPECT_NE(refusal.find("protocol version " + std::to_string(PROTOCOL_VERSION)), std::string::npos) << refusal;
    EXPECT_NE(err.str().find("refused machine"), std::string::npos);

    Machine guest("Bo", server.getPort());
    ASSERT_TRUE(runUntil(&server, {&guest}, [&] { return guest.client->getStatus() == GameClient::Status::refused; }));
    EXPECT_NE(guest.err.str().find("refused us: wrong password"), std::string::npos) << guest.err.str();
}
