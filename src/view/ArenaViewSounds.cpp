// SPDX-License-Identifier: GPL-3.0-or-later
// The view's sounds: the listener riding with the camera, the shots' sounds
// as they come due, and the chime of a turn that waits for its cast.
#include "audio/SoundPlayer.h"
#include "view/ArenaView.h"

void ArenaView::setSoundPlayer(SoundPlayer* player)
{
    sounds.setPlayer(player);
}

const SoundCues& ArenaView::getSoundCues() const
{
    return sounds;
}

void ArenaView::playSounds()
{
    SoundPlayer* player = sounds.getPlayer();
    if (player == nullptr) {
        return;
    }
    player->setListener(avatarPosition, avatarTarget - avatarPosition, avatarUp);
    player->setSpeed(timeSystem.getSpeed());
    sounds.update(timeSystem.getTick(), timeSystem.getSpeed());
    if (!isTurnWaiting()) {
        chimedTurn = -1;
    } else if (chimedTurn != currentPlayer) {
        chimedTurn = currentPlayer;
        player->playNear(Sound::turnChime);
    }
}
