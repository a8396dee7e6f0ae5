// SPDX-License-Identifier: GPL-3.0-or-later
// The view's resource tables: every mesh and key-frame set read from the data
// folder, by resource key ("grass", "wizard", "wizard_cast", ...). Nodes and
// animations share them; the tables own them.
#pragma once

#include <map>
#include <string>
#include <vector>

class GraphicNode;
class TimeSensor;

class ViewResources {
public:
    // Loads the resources from the first of folders that holds them all.
    explicit ViewResources(const std::vector<std::string>& folders);
    ~ViewResources();
    ViewResources(const ViewResources&) = delete;
    ViewResources& operator=(const ViewResources&) = delete;

    // Loads every mesh and key-frame set from the first of the folders that
    // holds all of them, or none when no folder does. Meshes already loaded
    // are refilled in place; call it while no character uses the key frames.
    void load(const std::vector<std::string>& folders);
    // file: named like "res/wizard.wrl"; read from the data folder.
    void loadModel(const std::string& key, const std::string& file);
    void loadModelAnimation(const std::string& key, const std::string& file);

    // The folder the resources came from, "" when none held them all, and
    // the folders that were tried.
    const std::string& getDataFolder() const;
    const std::vector<std::string>& getDataFolderSearch() const;

    // A mesh or key-frame set by resource key, or null.
    GraphicNode* getModel(const std::string& key) const;
    TimeSensor* getKeyFrames(const std::string& key) const;
    // The key frames of a character model's animation ("death", "cast",
    // "hurt", "idle"), or null.
    TimeSensor* getCharacterKeyFrames(const std::string& model, const std::string& animation) const;

private:
    std::map<std::string, GraphicNode*> models;         // owned: meshes by resource key
    std::map<std::string, TimeSensor*> modelAnimations; // owned: key-frame sets by resource key
    std::string dataFolder; // "" when no folder held the resource files
    std::vector<std::string> dataFolderSearch;
};
