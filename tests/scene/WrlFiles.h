// SPDX-License-Identifier: GPL-3.0-or-later
// Test support for the .wrl loaders: a fresh directory per test for the files
// a test writes, and loads that capture what the loader says on stderr.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "scene/graphicnode.h"
#include "scene/timesensor.h"
#include "scene/wrlanimationloader.h"
#include "scene/wrlsceneloader.h"

class WrlFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = testing::TempDir() + "wrl-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        directory = pattern;
    }

    void TearDown() override { std::filesystem::remove_all(directory); }

    std::string write(const std::string& name, const std::string& content) const
    {
        const std::string path = directory + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    // Each returns what the load wrote on stderr; stdout must stay untouched.
    static std::string loadMesh(const std::string& path, GraphicNode& root)
    {
        return captured([&] { WRLSceneLoader::load(path.c_str(), root); });
    }

    static std::string loadAnimation(const std::string& path, TimeSensor& root)
    {
        return captured([&] { WRLAnimationLoader::load(path.c_str(), root); });
    }

    static int lineCount(const std::string& text)
    {
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }

    std::string directory;

private:
    template <typename Load>
    static std::string captured(Load load)
    {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        load();
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        return errors;
    }
};

// A small model in the accepted subset: two top-level parts, the first with a
// square of two triangles and a nested, clockwise triangle.
inline const char* const SAMPLE_MESH = R"(#VRML V2.0 utf8
Transform {
  translation 1 2 3
  rotation 0 1 0 1.570796
  scale 2 2 2
  scaleOrientation 0 0 1 0.5
  children [
    Shape {
      appearance Appearance {
        material Material { diffuseColor 0.8 0.2 0.1 specularColor 1 1 1 }
      }
      geometry IndexedFaceSet {
        coord Coordinate { point [ 0 0 0, 1 0 0, 0 1 0, 1 1 0 ] }
        coordIndex [ 0, 1, 2, -1, 2, 1, 3, -1 ]
      }
    }
    Transform {
      translation 0 1 0
      children [
        Shape {
          geometry IndexedFaceSet {
            ccw FALSE
            coord Coordinate { point [ 0 0 0, 1 0 0, 0 1 0 ] }
            coordIndex [ 0, 1, 2, -1 ]
          }
        }
      ]
    }
  ]
}
Transform { translation 5 0 0 }
)";

// The animation that goes with SAMPLE_MESH: positions for the first part,
// rotations (values before times) for its nested part, nothing for the last.
inline const char* const SAMPLE_ANIMATION = R"(#VRML V2.0 utf8
Transform {
  children [
    PositionInterpolator { key [ 0, 0.5, 0.9 ] keyValue [ 1 2 3, 4 5 6, 7 8 9 ] }
    Transform {
      children [
        OrientationInterpolator {
          keyValue [ 0 0 1 3.141593, 1 0 0 1.570796 ]
          key [ 0, 0.5 ]
        }
      ]
    }
  ]
}
Transform { }
)";
