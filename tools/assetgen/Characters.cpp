// SPDX-License-Identifier: GPL-3.0-or-later
// The two spell-casters. Both stand on the origin inside a box 1 wide and 1.8
// high and face +z. The wizard: blue robes with gold trim, a white beard, a
// tall pointed hat and a wooden staff tipped with a crystal. The sorcerer:
// violet robes under a crimson mantle, a horned hood over glowing eyes, and a
// green orb held between its hands.
#include <cmath>

#include "Assets.h"

namespace assetgen {

namespace {

constexpr double PI = 3.14159265358979323846;

// 0 before from, 1 after to, a smooth S in between.
double ease(double u, double from, double to)
{
    double t = (u - from) / (to - from);
    t = std::fmin(1.0, std::fmax(0.0, t));
    return 0.5 - 0.5 * std::cos(PI * t);
}

// Rises from 0 to 1 between start and peak, falls back to 0 by end.
double pulse(double u, double start, double peak, double end)
{
    return u < peak ? ease(u, start, peak) : 1.0 - ease(u, peak, end);
}

Motion turning(Quat turn)
{
    Motion motion;
    motion.turns = true;
    motion.turn = turn;
    return motion;
}

Motion moving(Vec3 offset)
{
    Motion motion;
    motion.moves = true;
    motion.offset = offset;
    return motion;
}

Motion movingAndTurning(Vec3 offset, Quat turn)
{
    Motion motion = moving(offset);
    motion.turns = true;
    motion.turn = turn;
    return motion;
}

Pose at(Vec3 translation, Quat rotation = {})
{
    return Pose{translation, rotation};
}

// Two small boxes on the face of a head of the given radius centred at
// (0, centreY, 0).
Mesh eyes(double radius, double centreY, double height, double spread, double size)
{
    double y = centreY + height;
    double depth = std::sqrt(radius * radius - spread * spread - height * height);
    Mesh mesh = box({-spread - size / 2, y - size / 2, depth - 0.012},
                    {-spread + size / 2, y + size / 2, depth + 0.012});
    mesh.append(box({spread - size / 2, y - size / 2, depth - 0.012},
                    {spread + size / 2, y + size / 2, depth + 0.012}));
    return mesh;
}

// A bell sleeve hanging from the shoulder, its cuff at -length.
Mesh sleeve(double length, double shoulder, double cuff, int sides)
{
    return frustum(cuff, shoulder, -length, 0.0, sides);
}

const Color SKIN{0.94, 0.76, 0.62};
const Color GOLD{0.92, 0.74, 0.2};

} // namespace

Character wizard()
{
    const Color robe{0.22, 0.36, 0.95};
    const Color robeLight{0.3, 0.46, 1.0};
    const Color hatBlue{0.18, 0.24, 0.75};

    Character wizard;
    Model& model = wizard.model;
    model.name = "wizard";

    Part& body = model.add("body", Pose{}, robe, frustum(0.34, 0.24, 0.0, 0.78, 12, true, false));
    body.add("hem", Pose{}, GOLD, frustum(0.35, 0.34, 0.0, 0.07, 12, false, false));
    Part& torso = body.add("torso", at({0, 0.78, 0}), robeLight,
                           frustum(0.25, 0.19, -0.04, 0.42, 12, false, true));
    torso.add("belt", Pose{}, Color{0.45, 0.28, 0.12}, frustum(0.255, 0.248, 0.0, 0.07, 12, false, false));

    Mesh headMesh = sphere(0.13, 6, 10).moved({0, 0.14, 0});
    headMesh.append(cone(0.025, 0.0, {0, 0.07, 0}, 6).turned(Quat::aboutX(PI / 2)).moved({0, 0.12, 0.11}));
    Part& head = torso.add("head", at({0, 0.42, 0}), SKIN, headMesh);
    head.add("eyes", Pose{}, Color{0.08, 0.08, 0.14}, eyes(0.13, 0.14, 0.03, 0.045, 0.03));
    head.add("beard", Pose{}, Color{0.9, 0.9, 0.87},
             cone(0.1, 0.09, {0, -0.2, 0.16}, 10).moved({0, 0, 0.07}));
    Mesh hatMesh = frustum(0.27, 0.25, 0.0, 0.035, 14);
    hatMesh.append(cone(0.15, 0.03, {0, 0.33, -0.07}, 12, false));
    Part& hat = head.add("hat", at({0, 0.22, 0}), hatBlue, hatMesh);
    hat.add("hatBand", Pose{}, GOLD, frustum(0.153, 0.132, 0.035, 0.08, 12, false, false));

    const Quat leftRest = Quat::aboutZ(-0.12);
    Part& leftArm = torso.add("leftArm", at({-0.22, 0.36, 0}, leftRest), robeLight, sleeve(0.38, 0.075, 0.1, 8));
    leftArm.add("leftHand", at({0, -0.41, 0}), SKIN, sphere(0.055, 4, 6));

    const Quat rightRest = Quat::aboutZ(0.12) * Quat::aboutX(-0.35);
    Part& rightArm = torso.add("rightArm", at({0.22, 0.36, 0}, rightRest), robeLight, sleeve(0.38, 0.075, 0.1, 8));
    Part& rightHand = rightArm.add("rightHand", at({0, -0.41, 0}), SKIN, sphere(0.055, 4, 6));
    // Undoes the arm's rest turn, so that the staff stands upright.
    const Quat upright = Quat::aboutX(0.35) * Quat::aboutZ(-0.12);
    Part& staff = rightHand.add("staff", at({0, 0, 0}, upright), Color{0.45, 0.27, 0.1},
                                frustum(0.024, 0.019, -0.6, 0.76, 6));
    staff.add("crystal", at({0, 0.85, 0}), Color{0.4, 0.95, 1.0}, gem(0.055, 0.09));

    // Idle: breathing, a slow sway, a look around, the crystal turning.
    Animation& idle = wizard.idle;
    idle.name = "idle";
    idle.keys = 17;
    idle.loops = true;
    idle.tracks["torso"] = [](double u) {
        return movingAndTurning({0, 0.012 * (0.5 - 0.5 * std::cos(2 * PI * u)), 0},
                                Quat::aboutZ(0.035 * std::sin(2 * PI * u)));
    };
    idle.tracks["head"] = [](double u) {
        return turning(Quat::aboutY(0.16 * std::sin(2 * PI * u)) * Quat::aboutX(0.05 * std::sin(4 * PI * u)));
    };
    idle.tracks["leftArm"] = [](double u) { return turning(Quat::aboutX(0.07 * std::sin(2 * PI * u + 1))); };
    idle.tracks["rightArm"] = [](double u) { return turning(Quat::aboutX(0.05 * std::sin(2 * PI * u))); };
    idle.tracks["crystal"] = [](double u) { return turning(Quat::aboutY(2 * PI * u)); };

    // Cast: the free arm sweeps up and thrusts its palm forward while the
    // staff is lifted and tipped towards +z; then back to rest.
    Animation& cast = wizard.cast;
    cast.name = "cast";
    cast.keys = 17;
    cast.tracks["torso"] = [](double u) { return turning(Quat::aboutX(0.06 * pulse(u, 0.1, 0.5, 0.95))); };
    cast.tracks["leftArm"] = [](double u) {
        double raise = pulse(u, 0.0, 0.3, 0.55);
        double thrust = pulse(u, 0.3, 0.5, 0.95);
        return turning(Quat::aboutZ(-0.5 * raise) * Quat::aboutX(-2.2 * raise - 1.0 * thrust * (1 - raise)));
    };
    cast.tracks["rightArm"] = [](double u) {
        return turning(Quat::aboutX(-0.35 * pulse(u, 0.05, 0.45, 0.95)));
    };
    cast.tracks["staff"] = [](double u) {
        double lift = pulse(u, 0.05, 0.45, 0.95);
        return movingAndTurning({0, 0.05 * lift, 0}, Quat::aboutX(0.3 * lift));
    };
    cast.tracks["crystal"] = [](double u) { return turning(Quat::aboutY(6 * PI * ease(u, 0.0, 1.0))); };
    cast.tracks["head"] = [](double u) { return turning(Quat::aboutX(0.12 * pulse(u, 0.2, 0.5, 0.9))); };

    // Hurt: thrown back at the waist, arms flung out, then recovering.
    Animation& hurt = wizard.hurt;
    hurt.name = "hurt";
    hurt.keys = 17;
    hurt.tracks["body"] = [](double u) { return moving({0, 0, -0.03 * pulse(u, 0.0, 0.15, 0.8)}); };
    hurt.tracks["torso"] = [](double u) { return turning(Quat::aboutX(-0.2 * pulse(u, 0.0, 0.15, 0.85))); };
    hurt.tracks["head"] = [](double u) { return turning(Quat::aboutX(-0.22 * pulse(u, 0.02, 0.2, 0.85))); };
    hurt.tracks["leftArm"] = [](double u) {
        double fling = pulse(u, 0.0, 0.18, 0.8);
        return turning(Quat::aboutZ(-0.32 * fling) * Quat::aboutX(-0.4 * fling));
    };
    hurt.tracks["rightArm"] = [](double u) { return turning(Quat::aboutZ(0.1 * pulse(u, 0.0, 0.18, 0.8))); };
    hurt.tracks["hat"] = [](double u) { return turning(Quat::aboutX(-0.2 * pulse(u, 0.05, 0.25, 0.85))); };

    // Death: the knees give (the body sinks into its robe), then it slumps
    // forward over them, head and hat drooping, the staff sagging to the
    // ground beside it. Held at the end.
    Animation& death = wizard.death;
    death.name = "death";
    death.keys = 21;
    death.tracks["torso"] = [](double u) {
        double sink = ease(u, 0.0, 0.45);
        double slump = ease(u, 0.35, 0.9);
        return movingAndTurning({0, -0.38 * sink, -0.16 * slump}, Quat::aboutX(0.62 * slump));
    };
    death.tracks["head"] = [](double u) { return turning(Quat::aboutX(0.5 * ease(u, 0.45, 0.95))); };
    // The hat slips back off the drooping head.
    death.tracks["hat"] = [](double u) {
        double slip = ease(u, 0.5, 1.0);
        return movingAndTurning({0, -0.04 * slip, -0.12 * slip}, Quat::aboutX(-0.9 * slip));
    };
    death.tracks["leftArm"] = [](double u) {
        return turning(Quat::aboutZ(0.12 * ease(u, 0.2, 0.8)) * Quat::aboutX(-0.55 * ease(u, 0.3, 0.9)));
    };
    death.tracks["rightArm"] = [](double u) {
        return turning(Quat::aboutX(-0.1 * ease(u, 0.3, 0.9)));
    };
    death.tracks["staff"] = [](double u) {
        double sag = ease(u, 0.0, 0.45);
        double lean = ease(u, 0.3, 0.9);
        return movingAndTurning({0, 0.45 * sag, 0}, Quat::aboutZ(0.3 * lean) * Quat::aboutX(-0.25 * lean));
    };
    return wizard;
}

Character sorcerer()
{
    const Color robe{0.45, 0.15, 0.56};
    const Color robeLight{0.55, 0.19, 0.66};
    const Color crimson{0.88, 0.1, 0.14};
    const Color paleSkin{0.72, 0.76, 0.64};
    const Color orbGreen{0.35, 1.0, 0.45};

    Character sorcerer;
    Model& model = sorcerer.model;
    model.name = "sorcerer";

    Part& body = model.add("body", Pose{}, robe, frustum(0.4, 0.23, 0.0, 0.75, 8, true, false));
    body.add("hem", Pose{}, crimson, frustum(0.41, 0.4, 0.0, 0.08, 8, false, false));
    Part& torso = body.add("torso", at({0, 0.75, 0}), robeLight, frustum(0.24, 0.2, -0.04, 0.4, 8, false, true));
    // A mantle over the shoulders, flaring down over the chest and back.
    torso.add("mantle", Pose{}, crimson, frustum(0.31, 0.21, 0.02, 0.42, 10, false, true));

    Part& head = torso.add("head", at({0, 0.4, 0}), paleSkin, sphere(0.12, 6, 10).moved({0, 0.14, 0}));
    head.add("eyes", Pose{}, Color{1.0, 0.85, 0.1}, eyes(0.12, 0.14, 0.01, 0.042, 0.032));
    Mesh hood = cowl(0.17, 6, 12, 1.9).moved({0, 0.15, -0.025});
    hood.append(cone(0.1, 0.22, {0, 0.4, -0.17}, 8, false));
    head.add("hood", Pose{}, crimson, hood);
    Mesh horns = cone(0.032, 0.0, {0.1, 0.17, -0.04}, 6).moved({0.1, 0.25, 0.0});
    horns.append(cone(0.032, 0.0, {-0.1, 0.17, -0.04}, 6).moved({-0.1, 0.25, 0.0}));
    head.add("horns", Pose{}, Color{0.9, 0.86, 0.72}, horns);

    // Both forearms forward, offering the orb.
    const Quat leftRest = Quat::aboutZ(0.43) * Quat::aboutX(-0.76);
    const Quat rightRest = Quat::aboutZ(-0.43) * Quat::aboutX(-0.76);
    Part& leftArm = torso.add("leftArm", at({-0.21, 0.34, 0}, leftRest), robeLight, sleeve(0.39, 0.07, 0.1, 8));
    leftArm.add("leftHand", at({0, -0.43, 0}), paleSkin, sphere(0.05, 4, 6));
    Part& rightArm = torso.add("rightArm", at({0.21, 0.34, 0}, rightRest), robeLight, sleeve(0.39, 0.07, 0.1, 8));
    rightArm.add("rightHand", at({0, -0.43, 0}), paleSkin, sphere(0.05, 4, 6));
    Mesh orb = sphere(0.085, 6, 10);
    orb.append(frustum(0.125, 0.125, -0.012, 0.012, 14).turned(Quat::aboutX(0.4)));
    torso.add("orb", at({0, 0.1, 0.33}), orbGreen, orb);

    // Idle: the orb bobs and turns, the caster breathes and sways.
    Animation& idle = sorcerer.idle;
    idle.name = "idle";
    idle.keys = 17;
    idle.loops = true;
    idle.tracks["torso"] = [](double u) {
        return movingAndTurning({0, 0.01 * (0.5 - 0.5 * std::cos(2 * PI * u)), 0},
                                Quat::aboutY(0.05 * std::sin(2 * PI * u)));
    };
    idle.tracks["head"] = [](double u) { return turning(Quat::aboutZ(0.08 * std::sin(2 * PI * u + 0.8))); };
    idle.tracks["leftArm"] = [](double u) { return turning(Quat::aboutX(0.06 * std::sin(2 * PI * u))); };
    idle.tracks["rightArm"] = [](double u) { return turning(Quat::aboutX(0.06 * std::sin(2 * PI * u + PI))); };
    idle.tracks["orb"] = [](double u) {
        return movingAndTurning({0, 0.035 * std::sin(2 * PI * u), 0}, Quat::aboutY(2 * PI * u));
    };

    // Cast: the orb rises above the caster's head on raised arms, spinning,
    // and is hurled forward as the arms thrust out; then it returns.
    Animation& cast = sorcerer.cast;
    cast.name = "cast";
    cast.keys = 17;
    cast.tracks["orb"] = [](double u) {
        double rise = pulse(u, 0.0, 0.35, 0.6);
        double hurl = pulse(u, 0.35, 0.55, 0.95);
        return movingAndTurning({0, 0.5 * rise + 0.12 * hurl, 0}, Quat::aboutY(8 * PI * ease(u, 0, 1)));
    };
    cast.tracks["leftArm"] = [](double u) {
        double rise = pulse(u, 0.0, 0.35, 0.6);
        double hurl = pulse(u, 0.35, 0.55, 0.95);
        return turning(Quat::aboutX(-1.3 * rise - 0.3 * hurl));
    };
    cast.tracks["rightArm"] = [](double u) {
        double rise = pulse(u, 0.0, 0.35, 0.6);
        double hurl = pulse(u, 0.35, 0.55, 0.95);
        return turning(Quat::aboutX(-1.3 * rise - 0.3 * hurl));
    };
    cast.tracks["torso"] = [](double u) {
        return turning(Quat::aboutX(-0.1 * pulse(u, 0.0, 0.35, 0.5) + 0.08 * pulse(u, 0.4, 0.55, 0.95)));
    };
    cast.tracks["head"] = [](double u) { return turning(Quat::aboutX(-0.2 * pulse(u, 0.05, 0.35, 0.6))); };

    // Hurt: a recoil from the waist, the orb knocked askew, then recovery.
    Animation& hurt = sorcerer.hurt;
    hurt.name = "hurt";
    hurt.keys = 17;
    hurt.tracks["body"] = [](double u) { return moving({0, 0, -0.03 * pulse(u, 0.0, 0.15, 0.8)}); };
    hurt.tracks["torso"] = [](double u) { return turning(Quat::aboutX(-0.22 * pulse(u, 0.0, 0.15, 0.85))); };
    hurt.tracks["head"] = [](double u) { return turning(Quat::aboutX(-0.25 * pulse(u, 0.02, 0.2, 0.85))); };
    hurt.tracks["orb"] = [](double u) {
        double knock = pulse(u, 0.0, 0.2, 0.85);
        return movingAndTurning({0.08 * knock, 0.1 * knock, -0.05 * knock}, Quat::aboutZ(1.2 * knock));
    };
    hurt.tracks["leftArm"] = [](double u) { return turning(Quat::aboutX(0.35 * pulse(u, 0.0, 0.18, 0.8))); };
    hurt.tracks["rightArm"] = [](double u) { return turning(Quat::aboutX(0.35 * pulse(u, 0.0, 0.18, 0.8))); };

    // Death: sinking to its knees within the robe, slumping forward, arms
    // falling, the orb dropping to the ground before it. Held at the end.
    Animation& death = sorcerer.death;
    death.name = "death";
    death.keys = 21;
    death.tracks["torso"] = [](double u) {
        double sink = ease(u, 0.0, 0.45);
        double slump = ease(u, 0.35, 0.9);
        return movingAndTurning({0, -0.32 * sink, -0.14 * slump}, Quat::aboutX(0.62 * slump));
    };
    death.tracks["head"] = [](double u) { return turning(Quat::aboutX(0.5 * ease(u, 0.45, 0.95))); };
    death.tracks["leftArm"] = [](double u) { return turning(Quat::aboutX(0.55 * ease(u, 0.2, 0.8))); };
    death.tracks["rightArm"] = [](double u) { return turning(Quat::aboutX(0.55 * ease(u, 0.2, 0.8))); };
    death.tracks["orb"] = [](double u) {
        // It falls with the slumping body and rolls out to rest on the
        // ground in front.
        double roll = ease(u, 0.35, 0.9);
        return moving({0, -0.06 * roll, 0.18 * roll});
    };
    return sorcerer;
}

} // namespace assetgen
