// The view's console commands: lighting, shading, colour material, debug
// drawing, display lists, the view clock's speed and character animations.
#include "view/ArenaView.h"

void ArenaView::updateConsoleCommandEdition(std::string line)
{
    consoleCommand = ">" + line;
    consoleVisible = true;
}

void ArenaView::handleConsoleCommand(std::string)
{
    consoleVisible = false;
}
