// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the GL driver's libraries loaded until the process ends, so that a
// leak checker can still name them in its report at exit.
#pragma once

// Call once a GL context exists (the driver loads with the first one).
void keepGraphicsLibrariesLoaded();
