// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/SoundCues.h"

#include <algorithm>

#include "audio/SoundPlayer.h"

SoundCues::SoundCues()
    : player(nullptr), flightStart(0), flightEnd(0), flightDue(false), flightPlaying(false)
{
}

void SoundCues::setPlayer(SoundPlayer* soundPlayer)
{
    clear();
    player = soundPlayer;
}

SoundPlayer* SoundCues::getPlayer() const
{
    return player;
}

void SoundCues::add(long tick, Sound sound, const Vector& place)
{
    const Cue cue{tick, sound, place};
    // After those of the same tick: equal ticks play in the order added.
    const auto later = std::upper_bound(cues.begin(), cues.end(), tick,
                                        [](long t, const Cue& other) { return t < other.tick; });
    cues.insert(later, cue);
}

void SoundCues::addFlight(const std::vector<Vector>& path, long start, long end)
{
    if (flightPlaying && player != nullptr) {
        player->stopLoop();
    }
    flightPath = ShotPath(path);
    flightStart = start;
    flightEnd = std::max(start, end);
    flightDue = !path.empty();
    flightPlaying = false;
}

void SoundCues::playNear(Sound sound)
{
    if (player != nullptr) {
        player->playNear(sound);
    }
}

void SoundCues::clear()
{
    cues.clear();
    if (flightPlaying && player != nullptr) {
        player->stopLoop();
    }
    flightDue = false;
    flightPlaying = false;
}

void SoundCues::update(long now, double speed)
{
    // The flight first: the impact's sound comes as the loop stops.
    if (flightDue && now >= flightStart) {
        if (now >= flightEnd) {
            if (flightPlaying && player != nullptr) {
                player->stopLoop();
            }
            flightDue = false;
            flightPlaying = false;
        } else {
            const double share = static_cast<double>(now - flightStart) / static_cast<double>(flightEnd - flightStart);
            const Vector place = flightPath.pointAt(share);
            if (player != nullptr) {
                if (flightPlaying) {
                    player->moveLoop(place);
                } else {
                    player->startLoop(Sound::flight, place);
                }
            }
            flightPlaying = true;
        }
    }
    std::size_t due = 0;
    while (due < cues.size() && cues[due].tick <= now) {
        const bool tooLate = static_cast<double>(now - cues[due].tick) > MOST_LATE * speed;
        if (player != nullptr && !tooLate) {
            player->play(cues[due].sound, cues[due].place);
        }
        ++due;
    }
    cues.erase(cues.begin(), cues.begin() + static_cast<std::ptrdiff_t>(due));
}

std::size_t SoundCues::getPendingCount() const
{
    return cues.size() + (flightDue ? 1 : 0);
}
