// The view's console commands: lighting, shading, colour material, debug
// drawing, display lists, the view clock's speed and character animations.
#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <sstream>
#include <vector>

#include <boost/algorithm/string.hpp>
#include <boost/regex.hpp>

#include "scene/graphicnode.h"
#include "view/ArenaView.h"

namespace {

const char* const VIEW_HELP[] = {
    "enable/disable lighting",
    "enable/disable light1",
    "enable/disable material",
    "enable/disable debug",
    "enable/disable normalize",
    "enable/disable displaylist",
    "set light1 ambient/diffuse r g b a",
    "set shading flat/smooth",
    "set material back/front/front_back emission/ambient/specular/diffuse/ambient_diffuse",
    "set speed speedValue",
    "animate id animation length",
};

// The view clock's speed stays within these, so that its ticks never leave
// the range of a long.
constexpr double MIN_SPEED = 0.001;
constexpr double MAX_SPEED = 1000.0;

// Whole-line match; a line too hostile for the matcher counts as no match.
bool matches(const std::string& line, const boost::regex& pattern, boost::smatch& groups)
{
    try {
        return boost::regex_match(line, groups, pattern);
    } catch (const std::runtime_error&) {
        return false;
    }
}

void refuse(const std::string& why)
{
    std::cout << "View: " << why << std::endl;
}

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

} // namespace

void ArenaView::updateConsoleCommandEdition(std::string line)
{
    consoleCommand = ">" + line;
    consoleVisible = true;
}

void ArenaView::handleConsoleCommand(std::string line)
{
    std::cout << "View: " << line << std::endl;
    consoleVisible = false;
    boost::algorithm::to_lower(line);
    boost::algorithm::trim(line);

    if (line == "help") {
        for (const char* help : VIEW_HELP) {
            std::cout << help << std::endl;
        }
        return;
    }

    using Groups = boost::smatch;
    auto setFeature = [this](const std::string& word, bool on) {
        if (word == "debug") {
            debug = on;
        } else if (word == "displaylist") {
            GraphicNode::useDisplayList = on;
        } else if (GLenum feature = capability(word)) {
            if (on) {
                glEnable(feature);
            } else {
                glDisable(feature);
            }
        }
    };
    struct Command {
        boost::regex pattern;
        std::function<void(const Groups&)> action;
    };
    // Tried in order; the first whole-line match acts.
    const std::vector<Command> commands = {
        {boost::regex("disable (\\w+)"), [&](const Groups& g) { setFeature(g[1], false); }},
        {boost::regex("enable (\\w+)"), [&](const Groups& g) { setFeature(g[1], true); }},
        {boost::regex("set light1 (\\w+) (\\S+) (\\S+) (\\S+) (\\S+)"),
         [](const Groups& g) {
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
         }},
        {boost::regex("set shading smooth"), [](const Groups&) { glShadeModel(GL_SMOOTH); }},
        {boost::regex("set shading flat"), [](const Groups&) { glShadeModel(GL_FLAT); }},
        {boost::regex("set material (\\w+) (\\w+)"),
         [](const Groups& g) {
             const GLenum face = materialFace(g[1]);
             const GLenum mode = materialMode(g[2]);
             if (face == 0 || mode == 0) {
                 refuse("material " + g[1].str() + " " + g[2].str()
                        + " refused: faces are back, front or front_back; modes emission, ambient, diffuse, "
                          "specular or ambient_diffuse");
                 return;
             }
             glColorMaterial(face, mode);
         }},
        {boost::regex("set speed (\\S+)"),
         [this](const Groups& g) {
             const double speed = std::atof(g[1].str().c_str());
             if (!(speed >= MIN_SPEED && speed <= MAX_SPEED)) {
                 std::ostringstream why;
                 why << "speed " << g[1].str() << " refused: the view clock runs at " << MIN_SPEED << " to "
                     << MAX_SPEED << " times real time";
                 refuse(why.str());
                 return;
             }
             timeSystem.setSpeed(speed);
             std::cout << "Speed setted to " << speed << std::endl;
         }},
        {boost::regex("animate (\\S+) (\\w+) (\\S+)"),
         [this](const Groups& g) {
             // atoi's reading, without its overflow.
             const long wide = std::strtol(g[1].str().c_str(), nullptr, 10);
             const int id = wide < 0 || wide > 1000000 ? -1 : static_cast<int>(wide);
             if (playerNodes.find(id) == playerNodes.end()) {
                 refuse("no character " + g[1].str() + " to animate");
                 return;
             }
             animate(id, g[2], std::strtol(g[3].str().c_str(), nullptr, 10), 0, false);
         }},
    };

    Groups groups;
    for (const Command& command : commands) {
        if (matches(line, command.pattern, groups)) {
            command.action(groups);
            return;
        }
    }
}
