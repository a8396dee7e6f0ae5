// SPDX-License-Identifier: GPL-3.0-or-later
// The token grammar the two .wrl loaders share: whitespace-separated words,
// numbers, skips to an opening bracket and bracket-counted node bodies. Every
// read ends at the end of the file, and a file that breaks the grammar earns
// one warning line on standard error with its name and the line reached.
#pragma once

#include <cstdio>
#include <string>

class WrlTokenReader {
public:
    // Room for one word and its terminator; longer words are cut to fit.
    static constexpr int TOKEN_SIZE = 1024;
    // Node bodies open inside one another (a Transform's children hold
    // Transforms). Deeper than this the file is taken as broken rather than
    // letting the recursion exhaust the stack.
    static constexpr int MAX_NESTING = 128;

    // path names the file in the warning. The FILE* each read takes stays the
    // caller's: the reader neither opens nor closes it.
    explicit WrlTokenReader(const char* path);
    WrlTokenReader(const WrlTokenReader&) = delete;
    WrlTokenReader& operator=(const WrlTokenReader&) = delete;

    // Keywords match whole words, case-sensitively.
    static bool isKeyword(const char* token, const char* keyword);
    // A word as a warning shows it: quoted, and shortened if long.
    static std::string quoted(const char* word);
    // The one warning line of a load that could not open its file.
    static void warnCannotOpen(const char* path);

    // The next word into token (TOKEN_SIZE bytes). False at the end of the
    // file, which is where a top-level scan is allowed to end, and after a
    // failure.
    bool readToken(std::FILE* file, char* token);
    // As readToken, but here the end of the file cuts `where` short.
    bool expectToken(std::FILE* file, char* token, const char* where);
    // Reads words until one begins with open: past a node's type name to its
    // brace, or past a field name to its list.
    bool skipToOpen(std::FILE* file, char open, char* token, const char* where);
    // Reads single characters until wanted, so that a bracket may be joined
    // to the word after it.
    bool skipToChar(std::FILE* file, char wanted, const char* where);
    // count numbers as "%f" reads them. A word that is not a number earns a
    // warning and is left unread, whole, for the scan to see next (it may be
    // the "}" the value was missing before): the caller leaves its field as
    // it was and the load goes on. Only the end of the file stops it.
    bool readFloats(std::FILE* file, float* values, int count, const char* where);
    // A whole number as "%d" reads it; one beyond the int range saturates
    // rather than wrapping round. A word that is not one is left unread, as
    // by readFloats.
    bool readInt(std::FILE* file, int& value, const char* where);

    // A node body: skips to its opening bracket, then hands every word inside
    // to keywordTests until the matching closing bracket, counting brackets by
    // the first character of each word. A handler that reads a value or a
    // sub-node consumes it, so the scan goes on after it.
    template <typename KeywordTests>
    void scanBody(std::FILE* file, char open, char close, const char* where,
                  KeywordTests keywordTests);

    // Opens the file and hands every top-level "Transform" word to
    // onTransform(file, reader), which parses the node after it; every word
    // outside the nodes parsed so far is looked at, so a Transform inside some
    // other top-level node still counts. A file that cannot be opened gets
    // its warning and nothing else.
    template <typename OnTransform>
    static void scanTopLevel(const char* path, OnTransform onTransform);

    // Writes the load's warning line, unless it already has one.
    void warn(const std::string& problem);
    // As warn, for a problem found only after reading on past where it was.
    void warnAt(int problemLine, const std::string& problem);
    // The line of the last word or number read.
    int lastWordLine() const;
    // warn, then stop reading: every later read reports the end of the file.
    void fail(const std::string& problem);
    bool hasFailed() const;

private:
    // getc that counts lines and turns a read error or a control character
    // (the file is not text) into a failure.
    int next(std::FILE* file);
    void putBack(std::FILE* file, int c);
    // Skips whitespace; returns the next character, left in the file, or EOF.
    int skipSpace(std::FILE* file);
    void failExpecting(std::FILE* file, const char* expected, const char* where);
    // offset, asking the stream the first time; -1 for a pipe.
    long wordOffset(std::FILE* file);
    // Puts the file back to start, where the word that is not the expected
    // value begins (the number read may have taken some of it), and warns.
    void leaveUnread(std::FILE* file, long start, const char* expected, const char* where);
    // Enough of the next word to quote it in a warning.
    std::string readWordToQuote(std::FILE* file);

    std::string path;
    int line;
    // Where the last word or number began: the line a warning names.
    int wordLine;
    // Where the next character lies, in bytes: ftell's answer once asked (-1
    // for a stream that cannot tell), then counted by next and putBack as the
    // lines are.
    static constexpr long OFFSET_NOT_ASKED = -2;
    long offset;
    int nesting;
    bool warned;
    bool failed;
};

template <typename OnTransform>
void WrlTokenReader::scanTopLevel(const char* path, OnTransform onTransform)
{
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr) {
        warnCannotOpen(path);
        return;
    }
    WrlTokenReader reader(path);
    char token[TOKEN_SIZE];
    while (reader.readToken(file, token)) {
        if (isKeyword(token, "Transform")) {
            onTransform(file, reader);
        }
    }
    std::fclose(file);
}

template <typename KeywordTests>
void WrlTokenReader::scanBody(std::FILE* file, char open, char close, const char* where,
                              KeywordTests keywordTests)
{
    char token[TOKEN_SIZE];
    if (!skipToOpen(file, open, token, where)) {
        return;
    }
    if (nesting == MAX_NESTING) {
        fail(std::string(where) + " nested more than " + std::to_string(MAX_NESTING) + " deep");
        return;
    }
    ++nesting;
    int depth = 1;
    while (depth != 0 && expectToken(file, token, where)) {
        if (token[0] == open) {
            ++depth;
        }
        if (token[0] == close) {
            --depth;
        }
        if (depth != 0) {
            keywordTests(static_cast<const char*>(token));
        }
    }
    --nesting;
}
