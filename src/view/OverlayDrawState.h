// SPDX-License-Identifier: GPL-3.0-or-later
// The GL state the flat aids draw in, for as long as one lives: over the
// picture whatever its depth, with see-through colours blended; what was set
// before comes back when it goes.
#pragma once

#include <GL/gl.h>

class OverlayDrawState {
public:
    OverlayDrawState()
    {
        glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    ~OverlayDrawState() { glPopAttrib(); }
    OverlayDrawState(const OverlayDrawState&) = delete;
    OverlayDrawState& operator=(const OverlayDrawState&) = delete;
};
