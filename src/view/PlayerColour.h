// SPDX-License-Identifier: GPL-3.0-or-later
// The colour a caster is marked in wherever the view points it out: eight
// hues far enough apart to tell at a glance, given out by player id and
// starting again from the ninth caster.
#pragma once

struct PlayerColour {
    float red;
    float green;
    float blue;

    static PlayerColour of(int id);
};
