// SPDX-License-Identifier: GPL-3.0-or-later
// Tokens kept in a small tab-separated file, rewritten whole through a
// temporary file so that a crash never leaves half of it.
#include "net/TokenStore.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <ostream>
#include <vector>

namespace {

// The most lines kept: the newest tokens.
constexpr std::size_t KEPT_TOKENS = 64;

std::string lineFor(const std::string& server, const std::string& name)
{
    return server + "\t" + name + "\t";
}

} // namespace

TokenStore::TokenStore(std::string path, std::ostream& err)
    : path(std::move(path)), err(err)
{
}

std::string TokenStore::find(const std::string& server, const std::string& name) const
{
    if (path.empty()) {
        return "";
    }
    std::ifstream in(path);
    const std::string start = lineFor(server, name);
    std::string line;
    std::string token;
    while (std::getline(in, line)) {
        if (line.compare(0, start.size(), start) == 0) {
            token = line.substr(start.size());
        }
    }
    return token;
}

void TokenStore::keep(const std::string& server, const std::string& name, const std::string& token) const
{
    if (path.empty()) {
        return;
    }
    const std::string start = lineFor(server, name);
    std::vector<std::string> lines;
    {
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            if (line.compare(0, start.size(), start) != 0 && !line.empty()) {
                lines.push_back(line);
            }
        }
    }
    lines.push_back(start + token);
    if (lines.size() > KEPT_TOKENS) {
        lines.erase(lines.begin(), lines.end() - KEPT_TOKENS);
    }
    // The folders on the way, made when missing.
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0700);
    }
    const std::string temporary = path + ".new";
    {
        const mode_t old = umask(077);
        std::ofstream out(temporary, std::ios::trunc);
        umask(old);
        for (const std::string& line : lines) {
            out << line << '\n';
        }
        out.flush();
        if (!out) {
            err << "kestrune: the token for " << server << " could not be kept in " << path << std::endl;
            return;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        err << "kestrune: the token for " << server << " could not be kept in " << path << std::endl;
    }
}
