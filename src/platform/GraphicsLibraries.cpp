// SPDX-License-Identifier: GPL-3.0-or-later
// The GL driver keeps some per-context caches until the process ends. Once its
// libraries are unloaded a leak checker can no longer tell whose they are, so
// the sanitizer build keeps them loaded: their leaks are then named, and
// suppressed by name (tests/lsan.supp), instead of hiding among anonymous ones.
#include "platform/GraphicsLibraries.h"

#include <dlfcn.h>
#include <link.h>

#include <string>

void keepGraphicsLibrariesLoaded()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            const std::string name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            if (name.find("/dri/") != std::string::npos || name.find("libGL") != std::string::npos
                || name.find("libLLVM") != std::string::npos || name.find("libglut") != std::string::npos) {
                dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return 0;
        },
        nullptr);
}
