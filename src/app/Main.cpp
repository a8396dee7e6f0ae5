// The shell's program-wide objects and the random source shared by the model,
// the view and their animations.
#include "app/Main.h"

#include <cstdlib>
#include <ctime>
#include <utility>

namespace Main {

int windowId = 0;
TimeSystem timer;
bool seeded = false;
bool fullscreen = false;

namespace {

std::function<double()>& randomSource()
{
    static std::function<double()> source;
    return source;
}

} // namespace

double random()
{
    const std::function<double()>& source = randomSource();
    if (source) {
        return source();
    }
    if (!seeded) {
        std::srand(static_cast<unsigned int>(std::time(nullptr)));
        seeded = true;
    }
    // glibc's rand() reaches 2^31 - 1: keep 15 bits so the result stays below 1
    // and has the same resolution everywhere.
    return (std::rand() % 32768) / 32768.0;
}

void seedRandom(unsigned int seed)
{
    std::srand(seed);
    seeded = true;
}

void setRandomSource(std::function<double()> source)
{
    randomSource() = std::move(source);
}

} // namespace Main
