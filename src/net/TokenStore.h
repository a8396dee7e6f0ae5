// SPDX-License-Identifier: GPL-3.0-or-later
// The tokens servers gave this machine, one per server and name, so that a
// player who comes back proves it is the one who joined. One file, a line per
// token ("server<TAB>name<TAB>token"), readable by its owner alone. A file
// that cannot be read or written costs one line on the error stream; the join
// goes on without a token.
#pragma once

#include <iosfwd>
#include <string>

class TokenStore {
public:
    // path: the file ("" keeps nothing). err: not owned, outlives the store.
    TokenStore(std::string path, std::ostream& err);

    // The token kept for this name on this server ("host:port"), or "".
    std::string find(const std::string& server, const std::string& name) const;
    // Keeps the token, replacing an older one for the same server and name.
    void keep(const std::string& server, const std::string& name, const std::string& token) const;

private:
    std::string path;
    std::ostream& err; // not owned
};
