// SPDX-License-Identifier: GPL-3.0-or-later
// The players as the view shows them: a character per player (wizard or
// sorcerer, scaled to its box, turned to its aim) with its idle and one-shot
// animations, the health bars, the arrow over the current player, and the
// debug shapes.
#include <GL/freeglut.h>

#include <iostream>

#include "animation/Animation.h"
#include "animation/PathAnimation.h"
#include "model/Player.h"
#include "scene/TransformNode.h"
#include "scene/timesensor.h"
#include "view/ArenaView.h"

namespace {

// Height of the box the character meshes are built for.
constexpr double MODEL_HEIGHT = 1.8;

// The six faces of a player's box as quads of corner indices (bit 0: x, bit 1:
// y, bit 2: z of the corner, z mirrored), each wound so that the edges to its
// second and fourth corners cross into the outward normal.
const int BOX_FACES[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1},
                             {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};

} // namespace

void ArenaView::onPlayer(int id, Player& player)
{
    std::cout << "On player " << id << ": " << player << std::endl;
    ViewCannon& cannon = cannons[id];
    cannon.position = player.getCannonPosition(0.0);
    cannon.length = player.getCannonLength();

    // The game drew the player's look with the battlefield.
    const std::string model = player.getLook() >= 0.5 ? "wizard" : "sorcerer";
    auto* node = new TransformNode(models[model]);
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
    idleAnimation(id, "idle", 1000);
}

void ArenaView::onCurrentPlayer(int id)
{
    auto found = players.find(id);
    if (found == players.end()) {
        // No such player on this map: leave the arrow where it is.
        return;
    }
    const Player& player = *found->second;
    const Vector& p = player.getPosition();
    const double w = player.getWidth();
    const double h = player.getHeight();
    arrowAnimation->setPath({p + Vector(w / 2, h, w / 2), p + Vector(w / 2, 2 * h, w / 2),
                             p + Vector(w / 2, h, w / 2)});
    currentPlayer = id;
    autoCamera.onTurn(turnCameraPose(id));
}

void ArenaView::onLastManStanding(int id)
{
    std::cout << "Last man standing " << id << std::endl;
}

void ArenaView::onWeapon(std::string& name)
{
    weapon = name;
}

void ArenaView::renderPlayer()
{
    for (const auto& [id, player] : players) {
        if (player->isDead()) {
            continue;
        }
        const Vector& p = player->getPosition();
        const double w = player->getWidth();
        const double h = player->getHeight();
        glPushMatrix();
        glColor3f(1.0f, 0.0f, 0.0f);
        glTranslatef(static_cast<float>(p.x + w / 2), static_cast<float>(p.y + h + 0.3),
                     static_cast<float>(-w / 2 - p.z));
        glScalef(static_cast<float>(player->getHp() / 100.0), 0.2f, 0.2f);
        glutSolidCube(1.0);
        glPopMatrix();

        if (debug) {
            glPushMatrix();
            glColor3f(1.0f, 1.0f, 1.0f);
            glTranslatef(static_cast<float>(p.x + w / 4), static_cast<float>(p.y + h),
                         static_cast<float>(-w / 2 - p.z));
            // Names in their plain colour; lighting goes back as it was, off
            // too when the console switched it off.
            const GLboolean lighting = glIsEnabled(GL_LIGHTING);
            glDisable(GL_LIGHTING);
            renderBitmapString(0.0f, 0.0f, 0.0f, GLUT_BITMAP_8_BY_13, player->getName().c_str());
            if (lighting) {
                glEnable(GL_LIGHTING);
            }
            glPopMatrix();
        }
    }
    if (!debug) {
        return;
    }

    glColor3f(1.0f, 0.0f, 1.0f);
    for (const auto& [id, player] : players) {
        const Vector& p = player->getPosition();
        const double w = player->getWidth();
        const double h = player->getHeight();
        Vector corners[8];
        for (int i = 0; i < 8; ++i) {
            corners[i] = Vector(p.x + ((i & 1) ? w : 0), p.y + ((i & 2) ? h : 0), -p.z - ((i & 4) ? w : 0));
        }
        glBegin(GL_QUADS);
        for (const auto& face : BOX_FACES) {
            const Vector& a = corners[face[0]];
            Vector normal = ((corners[face[1]] - a) * (corners[face[3]] - a)).getNormalizedCopy();
            glNormal3d(normal.x, normal.y, normal.z);
            for (int corner : face) {
                glVertex3d(corners[corner].x, corners[corner].y, corners[corner].z);
            }
        }
        glEnd();
    }
    for (const auto& [id, cannon] : cannons) {
        glPushMatrix();
        glTranslatef(static_cast<float>(cannon.position.x), static_cast<float>(cannon.position.y),
                     static_cast<float>(-cannon.position.z));
        glRotatef(static_cast<float>(-cannon.yaw), 0.0f, 1.0f, 0.0f);
        glRotatef(static_cast<float>(cannon.pitch), 0.0f, 0.0f, 1.0f);
        glutSolidSphere(0.2, 10, 10);
        glBegin(GL_LINES);
        glVertex3d(0.0, 0.0, 0.0);
        glVertex3d(cannon.length, 0.0, 0.0);
        glEnd();
        glPopMatrix();
    }
}

TimeSensor* ArenaView::getModelAnimation(std::string model, std::string animation)
{
    if (model != "wizard" && model != "sorcerer") {
        return nullptr;
    }
    std::string key;
    if (animation == "death") {
        key = model + "_die";
    } else if (animation == "cast") {
        key = model + "_cast";
    } else if (animation == "hurt") {
        key = model + "_hurt";
    } else if (animation == "idle") {
        key = model + "_idle";
    } else {
        return nullptr;
    }
    auto keyFrames = modelAnimations.find(key);
    return keyFrames == modelAnimations.end() ? nullptr : keyFrames->second;
}

void ArenaView::animate(int id, std::string animation, long length, long delay, bool hold)
{
    TimeSensor* sensor = nullptr;
    if (TransformNode* node = characterWithAnimation(id, animation, sensor)) {
        auto* timer = new Animation(length, timeSystem, false);
        timer->setDelay(delay);
        node->addModelAnimation(sensor, timer, hold);
    }
}

void ArenaView::idleAnimation(int id, std::string animation, long length)
{
    TimeSensor* sensor = nullptr;
    if (TransformNode* node = characterWithAnimation(id, animation, sensor)) {
        node->setIdleModelAnimation(sensor, new Animation(length, timeSystem, true));
    }
}

TransformNode* ArenaView::characterWithAnimation(int id, const std::string& animation, TimeSensor*& sensor)
{
    auto found = playerNodes.find(id);
    if (found == playerNodes.end()) {
        return nullptr;
    }
    // Character nodes are the transform nodes made by onPlayer.
    auto* node = static_cast<TransformNode*>(found->second);
    sensor = getModelAnimation(nodeModels[node], animation);
    return sensor != nullptr ? node : nullptr;
}
