// SPDX-License-Identifier: GPL-3.0-or-later
// A diagnostic for the end-to-end tests: with the environment variable
// KESTRUNE_MARK_CASTER set, the current caster is painted flat magenta
// (255, 0, 255) where it shows in the frame, so that a test can count the
// pixels it covers. Without it nothing is drawn.
#pragma once

class ViewCharacters;

class CasterMark {
public:
    // Paints over the current caster of characters, when the environment
    // asks for it; after the frame's scene, before its overlays.
    static void paint(const ViewCharacters& characters);
};
