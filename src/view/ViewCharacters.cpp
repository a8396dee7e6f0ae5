// SPDX-License-Identifier: GPL-3.0-or-later
// The players as the view shows them: a character per player (wizard or
// sorcerer, scaled to its box, turned to its aim) with its idle and one-shot
// animations, and the arrow over the current player.
#include "view/ViewCharacters.h"

#include <iostream>

#include "animation/Animation.h"
#include "animation/PathAnimation.h"
#include "model/Player.h"
#include "scene/TransformNode.h"
#include "scene/graphicnode.h"
#include "scene/timesensor.h"
#include "view/ViewResources.h"

namespace {

// Height of the box the character meshes are built for.
constexpr double MODEL_HEIGHT = 1.8;
// Ticks of the view clock.
constexpr long IDLE_LENGTH = 1000;

} // namespace

ViewCharacters::ViewCharacters(TimeSystem& clock, const ViewResources& resources, PathAnimation& arrow)
    : clock(clock), resources(resources), arrow(arrow), sceneNode(new GraphicNode()), currentPlayer(0)
{
}

ViewCharacters::~ViewCharacters()
{
    delete sceneNode;
}

void ViewCharacters::onPlayer(int id, const Player& player)
{
    ViewCannon& cannon = cannons[id];
    cannon.position = player.getCannonPosition(0.0);
    cannon.length = player.getCannonLength();

    // The game drew the player's look with the battlefield.
    const std::string model = player.getLook() >= 0.5 ? "wizard" : "sorcerer";
    auto* node = new TransformNode(resources.getModel(model));
    nodeModels[node] = model;

    const Vector& p = player.getPosition();
    const double w = player.getWidth();
    const double h = player.getHeight();
    node->setScale(static_cast<float>(w), static_cast<float>(h / MODEL_HEIGHT), static_cast<float>(w));
    node->setRotation(0.0f, 1.0f, 0.0f, 90.0f);
    node->setTranslation(static_cast<float>(p.x + w / 2), static_cast<float>(p.y),
                         static_cast<float>(-w / 2 - p.z));

    playerNodes[id] = node;
    players[id] = &player;
    sceneNode->addGraphicNode(node);
    idleAnimation(id, "idle", IDLE_LENGTH);
}

bool ViewCharacters::onCurrentPlayer(int id)
{
    const Player* player = findPlayer(id);
    if (player == nullptr) {
        return false;
    }
    const Vector& p = player->getPosition();
    const double w = player->getWidth();
    const double h = player->getHeight();
    arrow.setPath({p + Vector(w / 2, h, w / 2), p + Vector(w / 2, 2 * h, w / 2), p + Vector(w / 2, h, w / 2)});
    currentPlayer = id;
    return true;
}

void ViewCharacters::setWeapon(const std::string& name)
{
    weapon = name;
}

void ViewCharacters::updateDirection(int id, const Player& player, double yaw, double pitch, double power)
{
    ViewCannon& cannon = cannons[id];
    cannon.position = player.getCannonPosition(yaw);
    cannon.length = player.getCannonLength();
    cannon.yaw = yaw;
    cannon.pitch = pitch;
    cannon.power = power;
    auto node = playerNodes.find(id);
    if (node != playerNodes.end()) {
        node->second->setRotation(0.0f, 1.0f, 0.0f, static_cast<float>(90.0 - yaw));
    }
}

void ViewCharacters::clear()
{
    sceneNode->clearChildren();
    nodeModels.clear();
    playerNodes.clear();
    players.clear();
    cannons.clear();
}

void ViewCharacters::animate(int id, const std::string& animation, long length, long delay, bool hold)
{
    TimeSensor* sensor = nullptr;
    if (TransformNode* node = characterWithAnimation(id, animation, sensor)) {
        auto* timer = new Animation(length, clock, false);
        timer->setDelay(delay);
        node->addModelAnimation(sensor, timer, hold);
    }
}

void ViewCharacters::idleAnimation(int id, const std::string& animation, long length)
{
    TimeSensor* sensor = nullptr;
    if (TransformNode* node = characterWithAnimation(id, animation, sensor)) {
        node->setIdleModelAnimation(sensor, new Animation(length, clock, true));
    }
}

TransformNode* ViewCharacters::characterWithAnimation(int id, const std::string& animation,
                                                      TimeSensor*& sensor) const
{
    auto found = playerNodes.find(id);
    if (found == playerNodes.end()) {
        return nullptr;
    }
    // Character nodes are the transform nodes made by onPlayer.
    auto* node = static_cast<TransformNode*>(found->second);
    sensor = resources.getCharacterKeyFrames(getNodeModel(node), animation);
    return sensor != nullptr ? node : nullptr;
}

void ViewCharacters::setPlayerNote(int id, const std::string& note)
{
    if (note.empty()) {
        playerNotes.erase(id);
    } else {
        playerNotes[id] = note;
    }
}

const std::map<int, std::string>& ViewCharacters::getPlayerNotes() const
{
    return playerNotes;
}

GraphicNode* ViewCharacters::detachCharacter(int id)
{
    GraphicNode* node = getPlayerNode(id);
    if (node != nullptr) {
        sceneNode->removeGraphicNode(node);
    }
    return node;
}

void ViewCharacters::lowerCannon(int id, int cells)
{
    cannons[id].position.y -= cells;
}

GraphicNode* ViewCharacters::getSceneNode() const
{
    return sceneNode;
}

GraphicNode* ViewCharacters::getPlayerNode(int id) const
{
    auto node = playerNodes.find(id);
    return node == playerNodes.end() ? nullptr : node->second;
}

std::string ViewCharacters::getNodeModel(GraphicNode* node) const
{
    auto model = nodeModels.find(node);
    return model == nodeModels.end() ? "" : model->second;
}

const Player* ViewCharacters::findPlayer(int id) const
{
    auto player = players.find(id);
    return player == players.end() ? nullptr : player->second;
}

const std::map<int, const Player*>& ViewCharacters::getPlayers() const
{
    return players;
}

const std::map<int, ViewCannon>& ViewCharacters::getCannons() const
{
    return cannons;
}

ViewCannon ViewCharacters::getCannon(int id) const
{
    auto cannon = cannons.find(id);
    return cannon == cannons.end() ? ViewCannon() : cannon->second;
}

int ViewCharacters::getCurrentPlayer() const
{
    return currentPlayer;
}

const std::string& ViewCharacters::getWeapon() const
{
    return weapon;
}
