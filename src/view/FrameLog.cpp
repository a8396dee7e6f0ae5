// SPDX-License-Identifier: GPL-3.0-or-later
// Frame durations written to a file while the game runs, to find the frames
// that stall: steady clock, milliseconds, flushed line by line.
#include "view/FrameLog.h"

#include <cstdlib>
#include <iomanip>
#include <iostream>

FrameLog::FrameLog(const std::string& path)
    : started(false)
{
    if (path.empty()) {
        return;
    }
    out.open(path, std::ios::out | std::ios::trunc);
    if (!out) {
        std::cerr << "Cannot write the frame log to " << path << std::endl;
    }
}

bool FrameLog::isOpen() const
{
    return out.is_open() && out.good();
}

void FrameLog::mark()
{
    if (!isOpen()) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (started) {
        const std::chrono::duration<double, std::milli> duration = now - last;
        out << std::fixed << std::setprecision(3) << duration.count() << std::endl;
    }
    last = now;
    started = true;
}

void FrameLog::markFrame()
{
    static FrameLog log([] {
        const char* path = std::getenv("KESTRUNE_FRAME_LOG");
        return std::string(path == nullptr ? "" : path);
    }());
    log.mark();
}
