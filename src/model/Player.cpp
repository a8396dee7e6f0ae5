// SPDX-License-Identifier: GPL-3.0-or-later
// A combatant's geometry (box, cannon base and nose) and its hit points.
#include "model/Player.h"

#include <ostream>
#include <utility>

namespace {

constexpr double FULL_HP = 100.0;

} // namespace

Player::Player(std::string name, Vector position, double width, double height,
               const Vector& cannon, double cannonLength)
    : name(std::move(name)),
      position(position),
      width(width),
      height(height),
      cannon(cannon),
      cannonLength(cannonLength),
      hp(FULL_HP),
      look(0.0)
{
}

const Vector& Player::getPosition() const
{
    return position;
}

void Player::setPosition(Vector newPosition)
{
    position = newPosition;
}

const std::string& Player::getName() const
{
    return name;
}

void Player::setName(std::string newName)
{
    name = std::move(newName);
}

double Player::getWidth() const
{
    return width;
}

double Player::getHeight() const
{
    return height;
}

double Player::getHp() const
{
    return hp;
}

void Player::setHp(double newHp)
{
    hp = newHp;
}

const Vector& Player::getCannonOffset() const
{
    return cannon;
}

double Player::getCannonLength() const
{
    return cannonLength;
}

Vector Player::getCannonPosition(double yaw) const
{
    Vector centre = position + Vector(width / 2, height / 2, width / 2);
    Vector base = (position + cannon) - centre;
    base.rotate(yaw, 0, 1, 0);
    return centre + base;
}

Vector Player::getCannonNose(double yaw, double pitch) const
{
    Vector barrel(cannonLength, 0, 0);
    barrel.rotate(pitch, 0, 0, 1);
    barrel.rotate(yaw, 0, 1, 0);
    return getCannonPosition(yaw) + barrel;
}

bool Player::isInside(const Vector& point) const
{
    return position.x <= point.x && point.x < position.x + width
        && position.y <= point.y && point.y < position.y + height
        && position.z <= point.z && point.z < position.z + width;
}

bool Player::damage(double amount)
{
    hp -= amount;
    return isDead();
}

bool Player::isDead() const
{
    return hp <= 0.0;
}

void Player::restore()
{
    hp = FULL_HP;
}

double Player::getLook() const
{
    return look;
}

void Player::setLook(double draw)
{
    look = draw;
}

bool Player::operator==(const Player& other) const
{
    return name == other.name;
}

std::ostream& operator<<(std::ostream& out, const Player& player)
{
    return out << player.getName() << " " << player.getHp() << " at " << player.getPosition();
}
