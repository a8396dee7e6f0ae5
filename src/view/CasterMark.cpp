// SPDX-License-Identifier: GPL-3.0-or-later
// The current caster drawn once more where it already shows, every colour bit
// forced to magenta: a picture a test can count the caster's pixels in.
#include "view/CasterMark.h"

#include <GL/gl.h>

#include <cstdlib>

#include "scene/graphicnode.h"
#include "view/ViewCharacters.h"

void CasterMark::paint(const ViewCharacters& characters)
{
    static const bool wanted = std::getenv("KESTRUNE_MARK_CASTER") != nullptr;
    GraphicNode* caster = wanted ? characters.getPlayerNode(characters.getCurrentPlayer()) : nullptr;
    if (caster == nullptr) {
        return;
    }
    // The same triangles at the same depths pass an equal test; the logic
    // operations set red and blue and clear green whatever colour the mesh
    // gives them.
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT | GL_POLYGON_BIT);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-1.0f, -2.0f);
    glEnable(GL_COLOR_LOGIC_OP);
    glLogicOp(GL_SET);
    glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_FALSE);
    caster->draw();
    glLogicOp(GL_CLEAR);
    glColorMask(GL_FALSE, GL_TRUE, GL_FALSE, GL_FALSE);
    caster->draw();
    glPopAttrib();
}
