// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the view's resources: the fifteen files of the data folder, meshes
// and the characters' key frames, found in the first folder that holds them all.
#include "view/ViewResources.h"

#include "platform/ResourcePath.h"
#include "scene/graphicnode.h"
#include "scene/timesensor.h"
#include "scene/wrlanimationloader.h"
#include "scene/wrlsceneloader.h"

namespace {

struct Resource {
    const char* file;
    const char* key;
    bool keyFrames;
};

// Loaded in this order.
const Resource RESOURCES[] = {
    {"res/arrow.wrl", "arrow", false},
    {"res/grassCube.wrl", "grass", false},
    {"res/dirtCube.wrl", "dirt", false},
    {"res/fireball.wrl", "fireball", false},
    {"res/meteor.wrl", "meteor", false},
    {"res/wizard.wrl", "wizard", false},
    {"res/sorcerer.wrl", "sorcerer", false},
    {"res/wizard_kill.wrl", "wizard_die", true},
    {"res/wizard_spell.wrl", "wizard_cast", true},
    {"res/wizard_hit.wrl", "wizard_hurt", true},
    {"res/wizard_idle.wrl", "wizard_idle", true},
    {"res/sorcerer_kill.wrl", "sorcerer_die", true},
    {"res/sorcerer_spell.wrl", "sorcerer_cast", true},
    {"res/sorcerer_hit.wrl", "sorcerer_hurt", true},
    {"res/sorcerer_idle.wrl", "sorcerer_idle", true},
};

// "res/wizard.wrl" -> "wizard.wrl": the file's name within the data folder.
std::string resourceName(const std::string& file)
{
    const std::size_t slash = file.find_last_of("/\\");
    return slash == std::string::npos ? file : file.substr(slash + 1);
}

} // namespace

ViewResources::ViewResources(const std::vector<std::string>& folders)
{
    load(folders);
}

ViewResources::~ViewResources()
{
    for (auto& [key, model] : models) {
        delete model;
    }
    for (auto& [key, keyFrames] : modelAnimations) {
        delete keyFrames;
    }
}

void ViewResources::load(const std::vector<std::string>& folders)
{
    std::vector<std::string> files;
    for (const Resource& resource : RESOURCES) {
        files.push_back(resourceName(resource.file));
    }
    dataFolderSearch = folders;
    dataFolder = findDataFolder(folders, files);
    for (const Resource& resource : RESOURCES) {
        if (resource.keyFrames) {
            loadModelAnimation(resource.key, resource.file);
        } else {
            loadModel(resource.key, resource.file);
        }
    }
}

void ViewResources::loadModel(const std::string& key, const std::string& file)
{
    // A mesh loaded again is refilled in place: nodes may wrap it already.
    GraphicNode*& node = models[key];
    if (node == nullptr) {
        node = new GraphicNode();
    } else {
        node->clearChildren();
    }
    // Without a data folder the mesh stays empty and draws nothing.
    if (!dataFolder.empty()) {
        WRLSceneLoader::load((dataFolder + "/" + resourceName(file)).c_str(), *node);
    }
    node->computeNormal();
}

void ViewResources::loadModelAnimation(const std::string& key, const std::string& file)
{
    auto* sensor = new TimeSensor();
    if (!dataFolder.empty()) {
        WRLAnimationLoader::load((dataFolder + "/" + resourceName(file)).c_str(), *sensor);
    }
    TimeSensor*& slot = modelAnimations[key];
    delete slot;
    slot = sensor;
}

const std::string& ViewResources::getDataFolder() const
{
    return dataFolder;
}

const std::vector<std::string>& ViewResources::getDataFolderSearch() const
{
    return dataFolderSearch;
}

GraphicNode* ViewResources::getModel(const std::string& key) const
{
    auto model = models.find(key);
    return model == models.end() ? nullptr : model->second;
}

TimeSensor* ViewResources::getKeyFrames(const std::string& key) const
{
    auto keyFrames = modelAnimations.find(key);
    return keyFrames == modelAnimations.end() ? nullptr : keyFrames->second;
}

TimeSensor* ViewResources::getCharacterKeyFrames(const std::string& model, const std::string& animation) const
{
    if (model != "wizard" && model != "sorcerer") {
        return nullptr;
    }
    // The animations' names and the files' keys differ for the death only.
    static const std::map<std::string, std::string> SUFFIXES = {
        {"death", "_die"}, {"cast", "_cast"}, {"hurt", "_hurt"}, {"idle", "_idle"}};
    const auto suffix = SUFFIXES.find(animation);
    return suffix == SUFFIXES.end() ? nullptr : getKeyFrames(model + suffix->second);
}
