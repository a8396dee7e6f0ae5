// SPDX-License-Identifier: GPL-3.0-or-later
// Key-frame lookup for character animations: one progress, shared by a whole
// sensor tree, picks the pose of every part of the model.
#include "scene/timesensor.h"

#include <algorithm>

TimeSensor::TimeSensor()
    : progress(0.0f), rotationIndex(0), translationIndex(0), interpolate(false)
{
}

TimeSensor::~TimeSensor()
{
    for (TimeSensor* child : childs) {
        delete child;
    }
}

void TimeSensor::setProgress(float p)
{
    // Written so that NaN also ends up at 0.
    progress = p > 0.0f ? std::min(p, 1.0f) : 0.0f;
    for (TimeSensor* child : childs) {
        child->setProgress(progress);
    }
}

float TimeSensor::getProgress() const
{
    return progress;
}

TimeSensor* TimeSensor::addTimeSensor()
{
    TimeSensor* child = new TimeSensor();
    childs.push_back(child);
    return child;
}

void TimeSensor::addTimeSensor(TimeSensor* s)
{
    if (s != nullptr) {
        childs.push_back(s);
    }
}

std::vector<TimeSensor*> TimeSensor::getChilds() const
{
    return childs;
}

void TimeSensor::addTranslationKey(float x, float y, float z)
{
    translationKeys.insert(translationKeys.end(), {x, y, z});
}

void TimeSensor::addRotationKey(float x, float y, float z, float angle)
{
    rotationKeys.insert(rotationKeys.end(), {x, y, z, angle});
}

void TimeSensor::addTranslationTimeKey(float t)
{
    translationTimeKeys.push_back(t);
}

void TimeSensor::addRotationTimeKey(float t)
{
    rotationTimeKeys.push_back(t);
}

bool TimeSensor::hasTranslationKeyFrame() const
{
    return !translationTimeKeys.empty();
}

bool TimeSensor::hasRotationKeyFrame() const
{
    return !rotationTimeKeys.empty();
}

int TimeSensor::selectKey(const std::vector<float>& timeKeys, const std::vector<float>& values,
                          int valuesPerKey) const
{
    if (timeKeys.empty()) {
        return -1;
    }
    int index = 0;
    if (progress > 0.0f) {
        // The last key strictly below the progress. A first key above 0
        // leaves none below: the first key then holds, as at progress 0.
        auto firstNotBelow = std::lower_bound(timeKeys.begin(), timeKeys.end(), progress);
        index = std::max(0, static_cast<int>(firstNotBelow - timeKeys.begin()) - 1);
    }
    // Time keys without values (a file that gives fewer values than times)
    // fall back on the last key that has one.
    const int keysWithValues = static_cast<int>(values.size()) / valuesPerKey;
    return std::min(index, keysWithValues - 1);
}

Vector TimeSensor::getTranslation()
{
    translationIndex = selectKey(translationTimeKeys, translationKeys, 3);
    if (translationIndex < 0) {
        return Vector(0, 0, 0);
    }
    const float* key = &translationKeys[3 * static_cast<std::size_t>(translationIndex)];
    return Vector(key[0], key[1], key[2]);
}

Vector TimeSensor::getRotationAxis()
{
    rotationIndex = selectKey(rotationTimeKeys, rotationKeys, 4);
    if (rotationIndex < 0) {
        return Vector(0, 0, 0);
    }
    const float* key = &rotationKeys[4 * static_cast<std::size_t>(rotationIndex)];
    return Vector(key[0], key[1], key[2]);
}

float TimeSensor::getRotationAngle()
{
    rotationIndex = selectKey(rotationTimeKeys, rotationKeys, 4);
    if (rotationIndex < 0) {
        return 0.0f;
    }
    return rotationKeys[4 * static_cast<std::size_t>(rotationIndex) + 3];
}

const std::vector<float>& TimeSensor::getTranslationTimeKeys() const
{
    return translationTimeKeys;
}

const std::vector<float>& TimeSensor::getTranslationKeys() const
{
    return translationKeys;
}

const std::vector<float>& TimeSensor::getRotationTimeKeys() const
{
    return rotationTimeKeys;
}

const std::vector<float>& TimeSensor::getRotationKeys() const
{
    return rotationKeys;
}

void TimeSensor::enableInterpolation(bool on)
{
    interpolate = on;
}
