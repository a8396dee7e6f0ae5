// SPDX-License-Identifier: GPL-3.0-or-later
// What is drawn over and around the characters each frame: the health bars,
// and in debug mode the players' names, their boxes and their cannons.
#include <GL/freeglut.h>

#include "model/Player.h"
#include "view/BitmapText.h"
#include "view/ViewCharacters.h"

namespace {

// The six faces of a player's box as quads of corner indices (bit 0: x, bit 1:
// y, bit 2: z of the corner, z mirrored), each wound so that the edges to its
// second and fourth corners cross into the outward normal.
const int BOX_FACES[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1},
                             {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};

} // namespace

void ViewCharacters::render(bool debug) const
{
    for (const auto& [id, player] : players) {
        if (!player->isDead()) {
            renderHealthBar(*player, debug);
        }
    }
    if (!debug) {
        return;
    }
    renderBoxes();
    renderCannons();
}

void ViewCharacters::renderHealthBar(const Player& player, bool debug) const
{
    const Vector& p = player.getPosition();
    const double w = player.getWidth();
    const double h = player.getHeight();
    glPushMatrix();
    glColor3f(1.0f, 0.0f, 0.0f);
    glTranslatef(static_cast<float>(p.x + w / 2), static_cast<float>(p.y + h + 0.3),
                 static_cast<float>(-w / 2 - p.z));
    glScalef(static_cast<float>(player.getHp() / 100.0), 0.2f, 0.2f);
    glutSolidCube(1.0);
    glPopMatrix();
    if (!debug) {
        return;
    }
    glPushMatrix();
    glColor3f(1.0f, 1.0f, 1.0f);
    glTranslatef(static_cast<float>(p.x + w / 4), static_cast<float>(p.y + h), static_cast<float>(-w / 2 - p.z));
    // Names in their plain colour; lighting goes back as it was, off too
    // when the console switched it off.
    const GLboolean lighting = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    BitmapText::draw(0.0f, 0.0f, 0.0f, GLUT_BITMAP_8_BY_13, player.getName().c_str());
    if (lighting) {
        glEnable(GL_LIGHTING);
    }
    glPopMatrix();
}

void ViewCharacters::renderBoxes() const
{
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
}

void ViewCharacters::renderCannons() const
{
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
