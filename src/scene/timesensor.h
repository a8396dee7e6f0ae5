// SPDX-License-Identifier: GPL-3.0-or-later
// The key frames of one character animation for one part of a model, and
// through its child sensors for the whole model tree. Driven by one progress
// from 0 to 1; a lookup holds the value of one key frame without blending.
#pragma once

#include <vector>

#include "math/Vector.h"

class TimeSensor {
public:
    TimeSensor();
    ~TimeSensor();
    TimeSensor(const TimeSensor&) = delete;
    TimeSensor& operator=(const TimeSensor&) = delete;

    // Clamps p to [0, 1] and hands it down the whole subtree.
    void setProgress(float p);
    float getProgress() const;

    // A new empty child sensor, owned by this one.
    TimeSensor* addTimeSensor();
    // Takes ownership of s; a null s changes nothing.
    void addTimeSensor(TimeSensor* s);
    // A copy of the child list.
    std::vector<TimeSensor*> getChilds() const;

    void addTranslationKey(float x, float y, float z);
    void addRotationKey(float x, float y, float z, float angle); // angle in degrees
    void addTranslationTimeKey(float t);
    void addRotationTimeKey(float t);

    bool hasTranslationKeyFrame() const;
    bool hasRotationKeyFrame() const;

    // The value of the last key whose time lies strictly below the progress
    // (the first key at progress 0). Without keys: (0, 0, 0) and angle 0.
    Vector getTranslation();
    Vector getRotationAxis(); // as stored, not normalised
    float getRotationAngle(); // degrees

    // The key lists as loaded: times, and the values (three or four floats
    // per key).
    const std::vector<float>& getTranslationTimeKeys() const;
    const std::vector<float>& getTranslationKeys() const;
    const std::vector<float>& getRotationTimeKeys() const;
    const std::vector<float>& getRotationKeys() const;

    // Kept for the file format's sake; lookups never blend.
    void enableInterpolation(bool on);

private:
    // The key index the progress selects among timeKeys, limited to the keys
    // that have a value (valuesPerKey floats each in values); -1 when none.
    int selectKey(const std::vector<float>& timeKeys, const std::vector<float>& values,
                  int valuesPerKey) const;

    std::vector<float> rotationTimeKeys;
    std::vector<float> rotationKeys; // axis x, y, z and angle in degrees per key
    std::vector<float> translationTimeKeys;
    std::vector<float> translationKeys; // x, y, z per key
    std::vector<TimeSensor*> childs; // owned: deleted in the destructor
    float progress;
    int rotationIndex;
    int translationIndex;
    bool interpolate;
};
