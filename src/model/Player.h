// SPDX-License-Identifier: GPL-3.0-or-later
// One combatant: a named box standing on the battlefield, with a cannon (the
// direction its spells leave in) and hit points. Held by value in the model.
#pragma once

#include <iosfwd>
#include <string>

#include "math/Vector.h"

class Player {
public:
    // name, minimum corner of the box, box width (x and z), box height, cannon
    // base relative to the position, cannon length. Starts with 100 hit points.
    Player(std::string name, Vector position, double width, double height, const Vector& cannon,
           double cannonLength);

    const Vector& getPosition() const;
    void setPosition(Vector position);
    const std::string& getName() const;
    void setName(std::string name);
    double getWidth() const;
    double getHeight() const;
    double getHp() const;
    // Hit points as another machine's game has them.
    void setHp(double hp);
    // The cannon base relative to the position, before any yaw.
    const Vector& getCannonOffset() const;
    double getCannonLength() const;

    // The cannon base in world coordinates for a yaw (degrees about y): it
    // circles the box's vertical centre line.
    Vector getCannonPosition(double yaw) const;
    // The cannon tip for a yaw and a pitch (degrees about z, then y).
    Vector getCannonNose(double yaw, double pitch) const;

    // Half-open box: the minimum faces are inside, the maximum faces are not.
    bool isInside(const Vector& point) const;

    // Subtracts the amount; true when the player is dead afterwards.
    bool damage(double amount);
    bool isDead() const;
    // Back to 100 hit points.
    void restore();

    // The draw that decides how the player is shown, in [0, 1): the model draws
    // one for every player of a new battlefield. 0 until then.
    double getLook() const;
    void setLook(double draw);

    // Players are the same player when their names are equal.
    bool operator==(const Player& other) const;

private:
    std::string name;
    Vector position;
    double width;
    double height;
    Vector cannon;
    double cannonLength;
    double hp;
    double look;
};

// "Osri Quay 57.5 at (2, 3, 4)"
std::ostream& operator<<(std::ostream& out, const Player& player);
