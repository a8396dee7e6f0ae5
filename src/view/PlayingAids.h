// SPDX-License-Identifier: GPL-3.0-or-later
// What helps a player follow the game beyond the overlay's lines: whose turn
// it is at the top, damage numbers over the casters, the aiming sight and the
// winner in the middle of the window.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "math/Vector.h"
#include "view/AimingSight.h"
#include "view/DamageNumber.h"

class SetupPanel;
class TimeSystem;
class ViewAnimations;
class ViewCharacters;
class ViewOverlay;

class PlayingAids {
public:
    // All not owned, and all outliving the aids: the view clock; the
    // characters told about; the running animations, which hold the turn
    // line back; the new-game screen, which hides the turn line and the
    // winner; the overlay, for the window's size.
    PlayingAids(TimeSystem& clock, const ViewCharacters& characters, const ViewAnimations& animations,
                const SetupPanel& setup, const ViewOverlay& overlay);

    // The turn line and the damage numbers, shown unless "disable aids".
    void setAidsShown(bool shown);
    bool areAidsShown() const;
    // Forgets the winner, the numbers, the sight and the previous shots, as
    // a new map begins.
    void clear();

    // True while the current caster's turn waits for a cast: nothing plays,
    // no winner or new-game screen shows.
    bool isTurnWaiting() const;
    // "Torva Murk — fireball" at the top while a caster's turn waits for a
    // cast; "" otherwise.
    std::string turnLine() const;
    void displayTurnLine() const;

    // A number over each hurt caster, shown from start (ticks of the view
    // clock) as the hurt or death animation starts; falls: cells each caster
    // falls after it.
    void addDamageNumbers(const std::map<int, double>& damages, const std::set<int>& killed,
                          const std::map<int, int>& falls, long start);
    // Finds, in the scene's matrices, where each number shows in the window;
    // then draws them over the frame.
    void placeDamageNumbers();
    void displayDamageNumbers() const;
    const std::vector<DamageNumber>& getDamageNumbers() const;

    // The aiming sight, and the casters' previous shots.
    AimingSight& getSight();
    const AimingSight& getSight() const;
    // The sight once the last shot has been shown; with it, unless "disable
    // aids", the previous shot of the caster whose turn waits.
    void renderSight() const;

    // Shows who won until the next battlefield; -1 when nobody is left
    // standing. True when a player's win is newly shown.
    bool showWinner(int id, bool demonstration);
    // "Torva Murk wins" and what follows; empty unless a winner is shown.
    std::vector<std::string> winnerLines() const;
    void displayWinner() const;

private:
    TimeSystem& clock;                  // not owned
    const ViewCharacters& characters;   // not owned
    const ViewAnimations& animations;   // not owned
    const SetupPanel& setup;            // not owned
    const ViewOverlay& overlay;         // not owned
    bool aidsShown;
    std::vector<DamageNumber> damageNumbers;
    std::vector<DamageNumber> placedDamageNumbers; // this frame's, at window pixels
    AimingSight sight;
    bool showingWinner;
    int winner; // player id, or -1 for nobody
    bool winnerCountdown;
};
