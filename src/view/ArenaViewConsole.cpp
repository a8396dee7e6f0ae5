// SPDX-License-Identifier: GPL-3.0-or-later
// The view's console commands: lighting, shading, colour material, debug
// drawing, display lists, the view clock's speed, character animations and
// the sound.
#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include <boost/regex.hpp>

#include "audio/SoundPlayer.h"
#include "console/ConsoleTable.h"
#include "scene/graphicnode.h"
#include "view/ArenaView.h"

namespace {

// The view clock's speed stays within these, so that its ticks never leave
// the range of a long.
constexpr double MIN_SPEED = 0.001;
constexpr double MAX_SPEED = 1000.0;

// The GL capability of an enable/disable word, or 0.
GLenum capability(const std::string& word)
{
    if (word == "lighting") {
        return GL_LIGHTING;
    }
    if (word == "light1") {
        return GL_LIGHT1;
    }
    if (word == "material") {
        return GL_COLOR_MATERIAL;
    }
    if (word == "normalize") {
        return GL_NORMALIZE;
    }
    return 0;
}

GLenum materialFace(const std::string& word)
{
    if (word == "back") {
        return GL_BACK;
    }
    if (word == "front") {
        return GL_FRONT;
    }
    if (word == "front_back") {
        return GL_FRONT_AND_BACK;
    }
    return 0;
}

GLenum materialMode(const std::string& word)
{
    if (word == "emission") {
        return GL_EMISSION;
    }
    if (word == "ambient") {
        return GL_AMBIENT;
    }
    if (word == "diffuse") {
        return GL_DIFFUSE;
    }
    if (word == "specular") {
        return GL_SPECULAR;
    }
    if (word == "ambient_diffuse") {
        return GL_AMBIENT_AND_DIFFUSE;
    }
    return 0;
}

using Groups = boost::smatch;
using Rows = std::vector<ConsoleTable<ArenaView>::Row>;

const ConsoleTable<ArenaView>& viewCommands();

// Words that name neither a flag nor a GL capability change nothing.
void setFeature(ArenaView& view, const std::string& word, bool on)
{
    if (word == "debug") {
        view.setDebug(on);
    } else if (word == "displaylist") {
        GraphicNode::useDisplayList = on;
    } else if (word == "chunks") {
        view.getTerrain().setChunksEnabled(on);
    } else if (word == "autocamera") {
        view.getCamera().setAutoCameraEnabled(on);
    } else if (word == "aids") {
        view.getAids().setAidsShown(on);
    } else if (word == "sound") {
        if (SoundPlayer* player = view.getSounds().getSoundPlayer()) {
            player->setEnabled(on);
        }
    } else if (GLenum feature = capability(word)) {
        if (on) {
            glEnable(feature);
        } else {
            glDisable(feature);
        }
    }
}

void setLight(const Groups& g)
{
    const GLfloat values[] = {static_cast<GLfloat>(std::atof(g[2].str().c_str())),
                              static_cast<GLfloat>(std::atof(g[3].str().c_str())),
                              static_cast<GLfloat>(std::atof(g[4].str().c_str())),
                              static_cast<GLfloat>(std::atof(g[5].str().c_str()))};
    if (g[1] == "ambient") {
        glLightfv(GL_LIGHT1, GL_AMBIENT, values);
    } else if (g[1] == "diffuse") {
        glLightfv(GL_LIGHT1, GL_DIFFUSE, values);
    } else if (g[1] == "position") {
        glLightfv(GL_LIGHT1, GL_POSITION, values);
    }
}

void setMaterial(const Groups& g)
{
    const GLenum face = materialFace(g[1]);
    const GLenum mode = materialMode(g[2]);
    if (face == 0 || mode == 0) {
        viewCommands().refuse("material " + g[1].str() + " " + g[2].str()
                              + " refused: faces are back, front or front_back; modes emission, "
                                "ambient, diffuse, specular or ambient_diffuse");
        return;
    }
    glColorMaterial(face, mode);
}

void setSpeed(ArenaView& view, const Groups& g)
{
    const double speed = std::atof(g[1].str().c_str());
    if (!(speed >= MIN_SPEED && speed <= MAX_SPEED)) {
        std::ostringstream why;
        why << "speed " << g[1].str() << " refused: the view clock runs at " << MIN_SPEED << " to " << MAX_SPEED
            << " times real time";
        viewCommands().refuse(why.str());
        return;
    }
    view.getTimeSystem().setSpeed(speed);
    std::cout << "Speed setted to " << speed << std::endl;
}

void setVolume(ArenaView& view, const Groups& g)
{
    const std::string value = g[1].str();
    char* end = nullptr;
    const double volume = std::strtod(value.c_str(), &end);
    if (end == value.c_str() || *end != '\0' || !(volume >= 0.0 && volume <= 1.0)) {
        viewCommands().refuse("volume " + value + " refused: the volume runs from 0 (silent) to 1");
        return;
    }
    if (SoundPlayer* player = view.getSounds().getSoundPlayer()) {
        player->setVolume(volume);
    }
}

void animateCharacter(ArenaView& view, const Groups& g)
{
    // atoi's reading, without its overflow.
    const long wide = std::strtol(g[1].str().c_str(), nullptr, 10);
    const int id = wide < 0 || wide > 1000000 ? -1 : static_cast<int>(wide);
    if (view.getCharacters().getPlayerNode(id) == nullptr) {
        viewCommands().refuse("no character " + g[1].str() + " to animate");
        return;
    }
    view.animate(id, g[2], std::strtol(g[3].str().c_str(), nullptr, 10), 0, false);
}

// Tried in order; the first whole-line match acts.
Rows viewRows()
{
    return {
        {"disable (\\w+)",
         {"enable/disable lighting", "enable/disable light1", "enable/disable material", "enable/disable debug",
          "enable/disable normalize", "enable/disable displaylist", "enable/disable chunks",
          "enable/disable autocamera", "enable/disable aids", "enable/disable sound"},
         [](ArenaView& view, const Groups& g) { setFeature(view, g[1], false); }},
        {"enable (\\w+)", {}, [](ArenaView& view, const Groups& g) { setFeature(view, g[1], true); }},
        {"set light1 (\\w+) (\\S+) (\\S+) (\\S+) (\\S+)",
         {"set light1 ambient/diffuse r g b a"},
         [](ArenaView&, const Groups& g) { setLight(g); }},
        {"set shading smooth", {"set shading flat/smooth"}, [](ArenaView&, const Groups&) { glShadeModel(GL_SMOOTH); }},
        {"set shading flat", {}, [](ArenaView&, const Groups&) { glShadeModel(GL_FLAT); }},
        {"set material (\\w+) (\\w+)",
         {"set material back/front/front_back emission/ambient/specular/diffuse/ambient_diffuse"},
         [](ArenaView&, const Groups& g) { setMaterial(g); }},
        {"set speed (\\S+)", {"set speed speedValue"}, setSpeed},
        {"set volume (\\S+)", {"set volume v"}, setVolume},
        {"animate (\\S+) (\\w+) (\\S+)", {"animate id animation length"}, animateCharacter},
    };
}

const ConsoleTable<ArenaView>& viewCommands()
{
    static const ConsoleTable<ArenaView> commands("View: ", viewRows());
    return commands;
}

} // namespace

void ArenaView::updateConsoleCommandEdition(std::string line)
{
    if (overlay.editConsoleLine(line)) {
        sounds.playNear(Sound::keyClick);
    }
}

bool ArenaView::handleConsoleCommand(std::string line)
{
    // A line sent, whatever it says, closes the line being typed.
    overlay.closeConsoleLine();
    return viewCommands().handle(*this, line);
}

void ArenaView::setDebug(bool on)
{
    debug = on;
}
