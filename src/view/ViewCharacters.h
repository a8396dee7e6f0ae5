// SPDX-License-Identifier: GPL-3.0-or-later
// The players as the view shows them: a character node per player under the
// scene node, the model's players, their aims, whose turn it is with which
// spell, the arrow over the current player, the notes after their overlay
// lines, and the characters' key-frame animations.
#pragma once

#include <map>
#include <string>

#include "view/ViewCannon.h"

class GraphicNode;
class PathAnimation;
class Player;
class TimeSensor;
class TimeSystem;
class TransformNode;
class ViewResources;

class ViewCharacters {
public:
    // clock: not owned; the view clock. resources: not owned; the view's
    // resource table. arrow: not owned; one of the view's running animations.
    // All three outlive the characters.
    ViewCharacters(TimeSystem& clock, const ViewResources& resources, PathAnimation& arrow);
    ~ViewCharacters();
    ViewCharacters(const ViewCharacters&) = delete;
    ViewCharacters& operator=(const ViewCharacters&) = delete;

    // A player joins the battlefield: its character, idling, and its aim.
    void onPlayer(int id, const Player& player);
    // The arrow moves over the player; false (nothing changes) when there is
    // no such player on this map.
    bool onCurrentPlayer(int id);
    void setWeapon(const std::string& name);
    void updateDirection(int id, const Player& player, double yaw, double pitch, double power);
    // Forgets every character and aim, as a new map begins. The notes stay.
    void clear();

    // Health bars; with debug, names, boxes and cannons too.
    void render(bool debug) const;

    // A one-shot animation of a character; hold keeps its last pose.
    void animate(int id, const std::string& animation, long length, long delay, bool hold);
    void idleAnimation(int id, const std::string& animation, long length);

    // A short note drawn after a player's overlay line; "" for none.
    void setPlayerNote(int id, const std::string& note);
    const std::map<int, std::string>& getPlayerNotes() const;

    // A falling character leaves the scene node for its fall animation;
    // null when the player has no character.
    GraphicNode* detachCharacter(int id);
    // The player's cannon drops with a fall.
    void lowerCannon(int id, int cells);

    GraphicNode* getSceneNode() const;
    // The character node of a player, or null.
    GraphicNode* getPlayerNode(int id) const;
    // "wizard" or "sorcerer" for a character node, or "".
    std::string getNodeModel(GraphicNode* node) const;
    // The model's player of an id, or null.
    const Player* findPlayer(int id) const;
    const std::map<int, const Player*>& getPlayers() const;
    const std::map<int, ViewCannon>& getCannons() const;
    // A player's aim; zeros before its aim came.
    ViewCannon getCannon(int id) const;
    int getCurrentPlayer() const;
    const std::string& getWeapon() const;

private:
    // The character of a player and its key frames of an animation, or null
    // when it has no character or no such animation.
    TransformNode* characterWithAnimation(int id, const std::string& animation, TimeSensor*& sensor) const;
    void renderHealthBar(const Player& player, bool debug) const;
    void renderBoxes() const;
    void renderCannons() const;

    TimeSystem& clock;               // not owned
    const ViewResources& resources;  // not owned
    PathAnimation& arrow;            // not owned
    GraphicNode* sceneNode;                   // owned: its children are the character nodes
    std::map<int, GraphicNode*> playerNodes;  // not owned: children of sceneNode (or of a fall animation)
    std::map<int, const Player*> players;     // not owned: the model's players
    std::map<GraphicNode*, std::string> nodeModels; // model key of each character node
    std::map<int, ViewCannon> cannons;
    std::map<int, std::string> playerNotes; // by player id; kept from one map to the next
    int currentPlayer;
    std::string weapon;
};
