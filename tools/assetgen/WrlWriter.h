// SPDX-License-Identifier: GPL-3.0-or-later
// Writes models and their animations as VRML 2.0 text in the subset the game
// reads: one Shape per Transform, "[" as a word of its own, triangles only.
#pragma once

#include <string>

#include "Model.h"

namespace assetgen {

// The mesh file of a model.
std::string meshFile(const Model& model, const std::string& title);

// An animation file: the model's Transform nesting, part for part, with a
// PositionInterpolator and an OrientationInterpolator inside each part the
// animation moves, and a clock with ROUTEs so that VRML browsers play it too.
std::string animationFile(const Model& model, const Animation& animation, const std::string& title);

// A number as the files write it: at most five decimals, no trailing zeros,
// never "-0".
std::string number(double value);

} // namespace assetgen
