// SPDX-License-Identifier: GPL-3.0-or-later
// The game's art in res/: every file loads cleanly, the character animations
// fit their models, every pose stays in the space the game gives a player,
// the generator reproduces the files, and pictures show the right colours.
#include <GL/gl.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scene/graphicnode.h"
#include "scene/timesensor.h"
#include "scene/wrlanimationloader.h"
#include "scene/wrlsceneloader.h"
#include "support/GameProcess.h"
#include "support/GlFixture.h"

namespace {

const std::vector<std::string> MESHES = {"arrow", "grassCube", "dirtCube", "fireball", "meteor", "wizard", "sorcerer"};
const std::vector<std::string> CHARACTERS = {"wizard", "sorcerer"};
const std::vector<std::string> ANIMATIONS = {"kill", "spell", "hit", "idle"};

std::string resource(const std::string& name)
{
    return std::string(KESTRUNE_SOURCE_DIR) + "/res/" + name + ".wrl";
}

std::unique_ptr<GraphicNode> loadMesh(const std::string& name, std::string* warnings = nullptr)
{
    auto root = std::make_unique<GraphicNode>();
    testing::internal::CaptureStderr();
    WRLSceneLoader::load(resource(name).c_str(), *root);
    std::string errors = testing::internal::GetCapturedStderr();
    if (warnings != nullptr) {
        *warnings = errors;
    }
    root->computeNormal();
    return root;
}

std::unique_ptr<TimeSensor> loadAnimation(const std::string& name, std::string* warnings = nullptr)
{
    auto root = std::make_unique<TimeSensor>();
    testing::internal::CaptureStderr();
    WRLAnimationLoader::load(resource(name).c_str(), *root);
    std::string errors = testing::internal::GetCapturedStderr();
    if (warnings != nullptr) {
        *warnings = errors;
    }
    return root;
}

// The nesting of a tree as brackets, e.g. "(()(()))".
std::string shape(const GraphicNode& node)
{
    std::string out = "(";
    for (const GraphicNode* child : node.getChildren()) {
        out += shape(*child);
    }
    return out + ")";
}

std::string shape(const TimeSensor& sensor)
{
    std::string out = "(";
    for (const TimeSensor* child : sensor.getChilds()) {
        out += shape(*child);
    }
    return out + ")";
}

// A column-major 4 x 4 transform composed the way GL composes the node draws.
struct Transform {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    Transform times(const Transform& b) const
    {
        Transform out;
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 4; ++row) {
                double sum = 0;
                for (int k = 0; k < 4; ++k) {
                    sum += m[k * 4 + row] * b.m[column * 4 + k];
                }
                out.m[column * 4 + row] = sum;
            }
        }
        return out;
    }
    static Transform translation(double x, double y, double z)
    {
        Transform t;
        t.m[12] = x;
        t.m[13] = y;
        t.m[14] = z;
        return t;
    }
    static Transform scale(double x, double y, double z)
    {
        Transform t;
        t.m[0] = x;
        t.m[5] = y;
        t.m[10] = z;
        return t;
    }
    static Transform rotation(double degrees, double x, double y, double z)
    {
        Transform t;
        double length = std::sqrt(x * x + y * y + z * z);
        if (length == 0) {
            return t;
        }
        x /= length;
        y /= length;
        z /= length;
        double a = degrees * M_PI / 180;
        double c = std::cos(a);
        double s = std::sin(a);
        double k = 1 - c;
        double r[9] = {x * x * k + c, y * x * k + z * s, x * z * k - y * s,
                       x * y * k - z * s, y * y * k + c, y * z * k + x * s,
                       x * z * k + y * s, y * z * k - x * s, z * z * k + c};
        for (int column = 0; column < 3; ++column) {
            for (int row = 0; row < 3; ++row) {
                t.m[column * 4 + row] = r[column * 3 + row];
            }
        }
        return t;
    }
    Vector apply(double x, double y, double z) const
    {
        return Vector(m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
                      m[2] * x + m[6] * y + m[10] * z + m[14]);
    }
};

struct Box {
    Vector low{1e9, 1e9, 1e9};
    Vector high{-1e9, -1e9, -1e9};
    void grow(const Vector& p)
    {
        low = Vector(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
        high = Vector(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
    }
};

// Grows box by every vertex of the tree, each node posed by key `key` of its
// paired sensor (the static transform where the sensor has no keys, or when
// key is negative).
void growPosed(const GraphicNode& node, const TimeSensor* sensor, int key, const Transform& parent, Box& box)
{
    Vector translation = node.getTranslation();
    double angle = node.getRotationAngle();
    Vector axis = node.getRotationAxis();
    if (sensor != nullptr && key >= 0 && sensor->hasTranslationKeyFrame()) {
        const float* t = &sensor->getTranslationKeys()[3 * static_cast<std::size_t>(key)];
        translation = Vector(t[0], t[1], t[2]);
    }
    if (sensor != nullptr && key >= 0 && sensor->hasRotationKeyFrame()) {
        const float* r = &sensor->getRotationKeys()[4 * static_cast<std::size_t>(key)];
        axis = Vector(r[0], r[1], r[2]);
        angle = r[3];
    }
    Vector scale = node.getScale();
    Transform world = parent.times(Transform::translation(translation.x, translation.y, translation.z))
                          .times(Transform::rotation(angle, axis.x, axis.y, axis.z))
                          .times(Transform::scale(scale.x, scale.y, scale.z));
    const std::vector<float>& vertices = node.getVertices();
    for (std::size_t i = 0; i + 2 < vertices.size(); i += 3) {
        box.grow(world.apply(vertices[i], vertices[i + 1], vertices[i + 2]));
    }
    std::vector<TimeSensor*> childSensors =
        sensor != nullptr ? sensor->getChilds() : std::vector<TimeSensor*>{};
    std::size_t index = 0;
    for (const GraphicNode* child : node.getChildren()) {
        const TimeSensor* childSensor = index < childSensors.size() ? childSensors[index] : nullptr;
        growPosed(*child, childSensor, key, world, box);
        ++index;
    }
}

Box boundsOf(const GraphicNode& mesh, const TimeSensor* animation = nullptr, int key = -1)
{
    Box box;
    // The loaded root holds one child per top-level Transform, and so does
    // the animation's root sensor.
    growPosed(mesh, animation, key, Transform(), box);
    return box;
}

// Every sensor of a tree, parents first.
void collect(const TimeSensor& sensor, std::vector<const TimeSensor*>& out)
{
    out.push_back(&sensor);
    for (const TimeSensor* child : sensor.getChilds()) {
        collect(*child, out);
    }
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(GameArt, EveryFileLoadsWithoutAWarning)
{
    for (const std::string& mesh : MESHES) {
        std::string warnings;
        auto root = loadMesh(mesh, &warnings);
        EXPECT_EQ(warnings, "") << mesh;
        EXPECT_FALSE(root->getChildren().empty()) << mesh;
    }
    for (const std::string& character : CHARACTERS) {
        for (const std::string& animation : ANIMATIONS) {
            std::string warnings;
            auto root = loadAnimation(character + "_" + animation, &warnings);
            EXPECT_EQ(warnings, "") << character << "_" << animation;
        }
    }
}

TEST(GameArt, AnimationsRepeatTheirCharactersNesting)
{
    for (const std::string& character : CHARACTERS) {
        auto mesh = loadMesh(character);
        // Body, head, two arms and a staff or orb at least.
        EXPECT_GE(shape(*mesh).size() / 2, 8u) << character;
        for (const std::string& animation : ANIMATIONS) {
            auto sensors = loadAnimation(character + "_" + animation);
            EXPECT_EQ(shape(*sensors), shape(*mesh)) << character << "_" << animation;
        }
    }
}

TEST(GameArt, KeyTimesStartAtZeroAscendAndEachHasAValue)
{
    for (const std::string& character : CHARACTERS) {
        for (const std::string& animation : ANIMATIONS) {
            auto root = loadAnimation(character + "_" + animation);
            std::vector<const TimeSensor*> sensors;
            collect(*root, sensors);
            int animated = 0;
            for (const TimeSensor* sensor : sensors) {
                for (auto [times, values, width] :
                     {std::tuple{&sensor->getTranslationTimeKeys(), &sensor->getTranslationKeys(), 3u},
                      std::tuple{&sensor->getRotationTimeKeys(), &sensor->getRotationKeys(), 4u}}) {
                    if (times->empty()) {
                        continue;
                    }
                    ++animated;
                    EXPECT_EQ(times->front(), 0.0f) << character << "_" << animation;
                    EXPECT_EQ(times->back(), 1.0f) << character << "_" << animation;
                    EXPECT_TRUE(std::is_sorted(times->begin(), times->end()));
                    EXPECT_EQ(values->size(), times->size() * width) << character << "_" << animation;
                    // Enough keys for smooth motion.
                    EXPECT_GE(times->size(), 10u);
                    EXPECT_LE(times->size(), 21u);
                }
            }
            EXPECT_GE(animated, 2) << character << "_" << animation;
        }
    }
}

TEST(GameArt, IdlesLoopAndOneShotsEndOnTheirLastTwoKeys)
{
    for (const std::string& character : CHARACTERS) {
        for (const std::string& animation : ANIMATIONS) {
            auto root = loadAnimation(character + "_" + animation);
            std::vector<const TimeSensor*> sensors;
            collect(*root, sensors);
            for (const TimeSensor* sensor : sensors) {
                for (auto [values, width] : {std::pair{&sensor->getTranslationKeys(), 3u},
                                             std::pair{&sensor->getRotationKeys(), 4u}}) {
                    if (values->empty()) {
                        continue;
                    }
                    std::vector<float> last(values->end() - width, values->end());
                    std::vector<float> before(values->end() - 2 * width, values->end() - width);
                    std::vector<float> first(values->begin(), values->begin() + width);
                    if (animation == "idle") {
                        EXPECT_EQ(last, first) << character << " idle does not loop seamlessly";
                    } else {
                        // The last key is never shown: the pose to end in is the one before.
                        EXPECT_EQ(last, before) << character << "_" << animation;
                    }
                }
            }
        }
    }
}

TEST(GameArt, BlocksFillExactlyOneCell)
{
    for (const char* block : {"grassCube", "dirtCube"}) {
        Box box = boundsOf(*loadMesh(block));
        EXPECT_EQ(box.low, Vector(-0.5, 0, -0.5)) << block;
        EXPECT_EQ(box.high, Vector(0.5, 1, 0.5)) << block;
    }
}

TEST(GameArt, ArrowAndFireballKeepTheirSizes)
{
    Box arrow = boundsOf(*loadMesh("arrow"));
    EXPECT_NEAR(arrow.low.y, 0.0, 1e-6);
    EXPECT_NEAR(arrow.high.y, 0.5, 0.05);
    EXPECT_LE(std::max(arrow.high.x, arrow.high.z), 0.25);

    Box fireball = boundsOf(*loadMesh("fireball"));
    // About 0.4 across, with a tail up +y.
    EXPECT_NEAR(fireball.high.x - fireball.low.x, 0.45, 0.1);
    EXPECT_GT(fireball.high.y, fireball.high.x + 0.15);

    // The meteor flies in the fireball's place: about as wide, a rock with
    // only a short trail of embers.
    Box meteor = boundsOf(*loadMesh("meteor"));
    EXPECT_NEAR(meteor.high.x - meteor.low.x, 0.45, 0.15);
    EXPECT_NEAR(meteor.high.z - meteor.low.z, 0.45, 0.15);
    EXPECT_LT(meteor.high.y, fireball.high.y);
}

TEST(GameArt, CharactersStayInsideThePlayersBoxInEveryPose)
{
    for (const std::string& character : CHARACTERS) {
        auto mesh = loadMesh(character);
        std::vector<std::pair<std::string, Box>> poses = {{"rest", boundsOf(*mesh)}};
        for (const std::string& animation : ANIMATIONS) {
            auto sensors = loadAnimation(character + "_" + animation);
            std::vector<const TimeSensor*> all;
            collect(*sensors, all);
            std::size_t keys = 0;
            for (const TimeSensor* sensor : all) {
                keys = std::max({keys, sensor->getTranslationTimeKeys().size(), sensor->getRotationTimeKeys().size()});
            }
            for (std::size_t key = 0; key < keys; ++key) {
                poses.push_back({animation + " key " + std::to_string(key),
                                 boundsOf(*mesh, sensors.get(), static_cast<int>(key))});
            }
        }
        for (const auto& [pose, box] : poses) {
            EXPECT_GE(box.low.x, -0.5 - 1e-4) << character << " " << pose;
            EXPECT_LE(box.high.x, 0.5 + 1e-4) << character << " " << pose;
            EXPECT_GE(box.low.z, -0.5 - 1e-4) << character << " " << pose;
            EXPECT_LE(box.high.z, 0.5 + 1e-4) << character << " " << pose;
            EXPECT_GE(box.low.y, -1e-4) << character << " " << pose;
            EXPECT_LE(box.high.y, 1.8 + 1e-4) << character << " " << pose;
        }
        // Standing on the origin at rest, and no taller than a player.
        EXPECT_NEAR(poses.front().second.low.y, 0.0, 1e-4) << character;
        EXPECT_GT(poses.front().second.high.y, 1.4) << character;
    }
}

TEST(GameArt, TheGeneratorReproducesTheCommittedFiles)
{
    std::string folder = artifactPath("regenerated-res");
    ASSERT_TRUE(runCommand("rm -rf '" + folder + "' && mkdir -p '" + folder + "'").has_value());
    ASSERT_TRUE(runCommand(std::string(KESTRUNE_ASSETGEN) + " '" + folder + "' >/dev/null").has_value());
    for (const std::string& mesh : MESHES) {
        EXPECT_EQ(readFile(folder + "/" + mesh + ".wrl"), readFile(resource(mesh))) << mesh;
    }
    for (const std::string& character : CHARACTERS) {
        for (const std::string& animation : ANIMATIONS) {
            std::string name = character + "_" + animation;
            EXPECT_EQ(readFile(folder + "/" + name + ".wrl"), readFile(resource(name))) << name;
        }
    }
}

namespace {

// Draws a model lit from the viewer's side into an offscreen picture, seen
// from the front (+z) or turned about the vertical, and saves it.
class ArtPicture : public GlTest {
protected:
    static constexpr int WIDTH = 240;
    static constexpr int HEIGHT = 380;

    std::vector<unsigned char> render(const GraphicNode& mesh, double turn, const std::string& file,
                                      double bottom = -0.05, double top = 1.85, double half = 0.6)
    {
        OffscreenTarget target(WIDTH, HEIGHT);
        glClearColor(0.1f, 0.1f, 0.12f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-half, half, bottom, top, -5, 5);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        GLfloat direction[] = {0.3f, 0.5f, 1.0f, 0.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, direction);
        glEnable(GL_COLOR_MATERIAL);
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        glEnable(GL_NORMALIZE);
        glRotated(turn, 0, 1, 0);
        const_cast<GraphicNode&>(mesh).draw();
        std::vector<unsigned char> pixels = target.pixels();
        EXPECT_TRUE(writePng(artifactPath(file), WIDTH, HEIGHT, pixels));
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT0);
        glDisable(GL_COLOR_MATERIAL);
        glDisable(GL_NORMALIZE);
        glDisable(GL_DEPTH_TEST);
        return pixels;
    }

    // Mean colour of a small square around a point of the front view.
    static std::array<double, 3> colourAt(const std::vector<unsigned char>& pixels, double x, double y,
                                          double bottom = -0.05, double top = 1.85, double half = 0.6)
    {
        int column = static_cast<int>((x + half) / (2 * half) * WIDTH);
        int row = static_cast<int>((y - bottom) / (top - bottom) * HEIGHT);
        std::array<double, 3> sum{};
        int count = 0;
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                std::size_t at = (static_cast<std::size_t>(row + dy) * WIDTH + column + dx) * 3;
                for (int c = 0; c < 3; ++c) {
                    sum[c] += pixels[at + c];
                }
                ++count;
            }
        }
        for (double& channel : sum) {
            channel /= count;
        }
        return sum;
    }
};

std::string describe(const std::array<double, 3>& rgb)
{
    std::ostringstream out;
    out << "rgb(" << rgb[0] << ", " << rgb[1] << ", " << rgb[2] << ")";
    return out.str();
}

} // namespace

TEST_F(ArtPicture, TheWizardWearsBlueUnderAPointedHatWithAStaff)
{
    auto wizard = loadMesh("wizard");
    auto front = render(*wizard, 0, "wizard-front.png");
    render(*wizard, -40, "wizard-three-quarter.png");
    auto robe = colourAt(front, 0, 0.4);
    EXPECT_GT(robe[2], robe[0] + 40) << describe(robe);
    EXPECT_GT(robe[2], robe[1] + 20) << describe(robe);
    auto face = colourAt(front, 0.04, 1.3);
    EXPECT_GT(face[0], face[2] + 30) << describe(face);
    auto hat = colourAt(front, 0, 1.62);
    EXPECT_GT(hat[2], hat[0] + 20) << describe(hat);
    auto crystal = colourAt(front, 0.274, 1.605);
    EXPECT_GT(crystal[1], crystal[0] + 40) << describe(crystal);
    EXPECT_GT(crystal[2], crystal[0] + 40) << describe(crystal);
    // Nothing drawn beside the figure.
    auto air = colourAt(front, -0.5, 1.7);
    EXPECT_LT(air[0] + air[1] + air[2], 120) << describe(air);
}

TEST_F(ArtPicture, TheSorcererWearsVioletAndCrimsonWithAGreenOrb)
{
    auto sorcerer = loadMesh("sorcerer");
    auto front = render(*sorcerer, 0, "sorcerer-front.png");
    render(*sorcerer, -40, "sorcerer-three-quarter.png");
    auto robe = colourAt(front, 0, 0.3);
    EXPECT_GT(robe[0], robe[1] + 20) << describe(robe);
    EXPECT_GT(robe[2], robe[1] + 20) << describe(robe);
    auto hood = colourAt(front, 0, 1.5);
    EXPECT_GT(hood[0], 2 * hood[1] + 20) << describe(hood);
    EXPECT_GT(hood[0], hood[2] + 40) << describe(hood);
    auto orb = colourAt(front, 0, 0.85);
    EXPECT_GT(orb[1], orb[0] + 40) << describe(orb);
    EXPECT_GT(orb[1], orb[2] + 20) << describe(orb);
    // Lower and rounder than the wizard: no hat tip high above the head.
    auto above = colourAt(front, 0, 1.72);
    EXPECT_LT(above[0] + above[1] + above[2], 120) << describe(above);
}

TEST_F(ArtPicture, BlocksShowGrassOnEarthAndLayeredSoil)
{
    auto grass = loadMesh("grassCube");
    auto dirt = loadMesh("dirtCube");
    auto grassSide = render(*grass, 0, "grass-block.png", -0.2, 1.2, 0.6);
    auto turf = colourAt(grassSide, 0, 0.9, -0.2, 1.2, 0.6);
    auto earth = colourAt(grassSide, 0, 0.4, -0.2, 1.2, 0.6);
    EXPECT_GT(turf[1], turf[0] + 30) << describe(turf);
    EXPECT_GT(earth[0], earth[1] + 20) << describe(earth);
    EXPECT_GT(earth[1], earth[2] + 10) << describe(earth);

    auto dirtSide = render(*dirt, 0, "dirt-block.png", -0.2, 1.2, 0.6);
    auto deep = colourAt(dirtSide, 0, 0.15, -0.2, 1.2, 0.6);
    auto middle = colourAt(dirtSide, 0, 0.5, -0.2, 1.2, 0.6);
    auto upper = colourAt(dirtSide, 0, 0.85, -0.2, 1.2, 0.6);
    for (const auto& layer : {deep, middle, upper}) {
        EXPECT_GT(layer[0], layer[1] + 15) << describe(layer);
    }
    EXPECT_LT(deep[0], middle[0]) << describe(deep) << describe(middle);
    EXPECT_LT(middle[0], upper[0]) << describe(middle) << describe(upper);
}
