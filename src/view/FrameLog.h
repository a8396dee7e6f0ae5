// SPDX-License-Identifier: GPL-3.0-or-later
// A diagnostic: the duration of every frame, in milliseconds, one number a
// line, written to the file named by the environment variable
// KESTRUNE_FRAME_LOG. Without it nothing is measured or written.
#pragma once

#include <chrono>
#include <fstream>
#include <string>

class FrameLog {
public:
    // Writes to path; an empty path, or one that cannot be opened (said once
    // on standard error), logs nothing.
    explicit FrameLog(const std::string& path);
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    // A frame ends now: writes the time since the end of the one before (the
    // first frame only starts the clock).
    void mark();
    bool isOpen() const;

    // The process's own log, opened on the first call from KESTRUNE_FRAME_LOG.
    static void markFrame();

private:
    std::ofstream out;
    std::chrono::steady_clock::time_point last;
    bool started;
};
