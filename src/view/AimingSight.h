// SPDX-License-Identifier: GPL-3.0-or-later
// The aiming sight as the view draws it: the flight the current aim would
// take, dotted, with a ring where it lands; and each caster's previous shot
// as it flew, thin and faint, so that the next one can be corrected.
#pragma once

#include <list>
#include <map>
#include <vector>

#include "math/Vector.h"

class Projectile;

class AimingSight {
public:
    // Model coordinates.
    using Path = std::vector<Vector>;

    // A shot's flight as the sight draws it: the spell's path, then the path
    // of each part it broke into (a meteor's fireballs). spell: not owned,
    // may be null; read during the call only.
    static std::vector<Path> flightOf(const std::list<Vector>& path, const Projectile* spell);
    // Where that flight ends on the battlefield: the end of each part's path,
    // or of the path itself for a spell that stays whole.
    static std::vector<Vector> landingsOf(const std::list<Vector>& path, const Projectile* spell);

    // Shows these paths dotted, and a ring at each landing, until hidden.
    void show(std::vector<Path> shownPaths, std::vector<Vector> shownLandings);
    void hide();
    const std::vector<Path>& getPaths() const;
    const std::vector<Vector>& getLandings() const;

    // The caster's last cast as it flew; empty until it casts on this
    // battlefield.
    void rememberShot(int caster, std::vector<Path> flight);
    const std::vector<Path>& getPreviousShot(int caster) const;
    // Hides the sight and forgets every previous shot, as a new map begins.
    void clear();

    // Each saves and restores the GL state it changes.
    void render() const;
    void renderPreviousShot(int caster) const;

private:
    std::vector<Path> paths;
    std::vector<Vector> landings;
    std::map<int, std::vector<Path>> previousShots;
};
