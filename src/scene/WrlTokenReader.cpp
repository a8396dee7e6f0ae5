// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the words and numbers of the game's .wrl resource files for both
// loaders, and turns the first thing a hand-edited file gets wrong into one warning.
#include "scene/WrlTokenReader.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <iostream>

namespace {

// The characters "%s" stops at.
bool isSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// No text file holds these; a word of them means a binary file.
bool isControl(int c)
{
    return (c < 0x20 && !isSpace(c)) || c == 0x7f;
}

bool isDigit(int c)
{
    return c >= '0' && c <= '9';
}

// Enough of a word to recognise it in a warning.
const std::size_t QUOTED_LENGTH = 24;

} // namespace

WrlTokenReader::WrlTokenReader(const char* path)
    : path(path),
      line(1),
      wordLine(1),
      offset(OFFSET_NOT_ASKED),
      nesting(0),
      warned(false),
      failed(false)
{
}

bool WrlTokenReader::isKeyword(const char* token, const char* keyword)
{
    return std::strcmp(token, keyword) == 0;
}

std::string WrlTokenReader::quoted(const char* word)
{
    std::string text(word);
    if (text.size() > QUOTED_LENGTH) {
        text = text.substr(0, QUOTED_LENGTH) + "...";
    }
    return "\"" + text + "\"";
}

void WrlTokenReader::warnCannotOpen(const char* path)
{
    std::cerr << "kestrune: " << path << ": cannot open: " << std::strerror(errno) << std::endl;
}

void WrlTokenReader::warn(const std::string& problem)
{
    warnAt(wordLine, problem);
}

void WrlTokenReader::warnAt(int problemLine, const std::string& problem)
{
    if (warned) {
        return;
    }
    warned = true;
    std::cerr << "kestrune: " << path << ": line " << problemLine << ": " << problem << std::endl;
}

int WrlTokenReader::lastWordLine() const
{
    return wordLine;
}

void WrlTokenReader::fail(const std::string& problem)
{
    warn(problem);
    failed = true;
}

bool WrlTokenReader::hasFailed() const
{
    return failed;
}

int WrlTokenReader::next(std::FILE* file)
{
    if (failed) {
        return EOF;
    }
    const int c = std::getc(file);
    if (c == EOF) {
        if (std::ferror(file)) {
            fail(std::string("cannot read: ") + std::strerror(errno));
        }
        return EOF;
    }
    if (offset >= 0) {
        ++offset;
    }
    if (c == '\n') {
        ++line;
    } else if (isControl(c)) {
        wordLine = line;
        fail("control character " + std::to_string(c) + ": not a text file");
        return EOF;
    }
    return c;
}

void WrlTokenReader::putBack(std::FILE* file, int c)
{
    std::ungetc(c, file);
    if (offset >= 0) {
        --offset;
    }
    if (c == '\n') {
        --line;
    }
}

int WrlTokenReader::skipSpace(std::FILE* file)
{
    int c = next(file);
    while (c != EOF && isSpace(c)) {
        c = next(file);
    }
    if (c != EOF) {
        putBack(file, c);
        wordLine = line;
    }
    return c;
}

bool WrlTokenReader::readToken(std::FILE* file, char* token)
{
    token[0] = '\0';
    if (skipSpace(file) == EOF) {
        return false;
    }
    int length = 0;
    bool cut = false;
    for (int c = next(file); c != EOF; c = next(file)) {
        if (isSpace(c)) {
            putBack(file, c);
            break;
        }
        if (length < TOKEN_SIZE - 1) {
            token[length++] = static_cast<char>(c);
        } else {
            cut = true;
        }
    }
    token[length] = '\0';
    if (failed) {
        return false;
    }
    if (cut) {
        warn("a word of more than " + std::to_string(TOKEN_SIZE - 1) + " characters, "
             + quoted(token) + ", was cut short");
    }
    return true;
}

bool WrlTokenReader::expectToken(std::FILE* file, char* token, const char* where)
{
    if (readToken(file, token)) {
        return true;
    }
    fail(std::string("the file ends inside the ") + where);
    return false;
}

bool WrlTokenReader::skipToOpen(std::FILE* file, char open, char* token, const char* where)
{
    while (expectToken(file, token, where)) {
        if (token[0] == open) {
            return true;
        }
    }
    return false;
}

bool WrlTokenReader::skipToChar(std::FILE* file, char wanted, const char* where)
{
    for (int c = next(file); c != EOF; c = next(file)) {
        if (c == wanted) {
            return true;
        }
    }
    fail(std::string("the file ends before the ") + where);
    return false;
}

bool WrlTokenReader::readFloats(std::FILE* file, float* values, int count, const char* where)
{
    for (int i = 0; i < count; ++i) {
        // Whitespace is skipped here, not by "%f", so that its newlines are counted.
        if (skipSpace(file) == EOF) {
            failExpecting(file, "a number", where);
            return false;
        }
        const long start = wordOffset(file);
        int length = 0;
        if (std::fscanf(file, "%f%n", &values[i], &length) != 1) {
            leaveUnread(file, start, "a number", where);
            return false;
        }
        if (offset >= 0) {
            offset += length;
        }
        if (!std::isfinite(values[i])) {
            warn(std::string("a number out of range in the ") + where);
        }
    }
    return true;
}

bool WrlTokenReader::readInt(std::FILE* file, int& value, const char* where)
{
    if (skipSpace(file) == EOF) {
        failExpecting(file, "a whole number", where);
        return false;
    }
    const long start = wordOffset(file);
    // Gathered by hand: "%d" leaves an overflow undefined, and in practice
    // wraps 4294967297 round to 1, a vertex index that looks valid.
    int c = next(file);
    const bool negative = c == '-';
    if (c == '-' || c == '+') {
        c = next(file);
    }
    long long magnitude = 0;
    bool hasDigits = false;
    while (c != EOF && isDigit(c)) {
        hasDigits = true;
        magnitude = std::min<long long>(magnitude * 10 + (c - '0'), INT_MAX);
        c = next(file);
    }
    if (c != EOF) {
        putBack(file, c);
    }
    if (hasDigits) {
        value = static_cast<int>(negative ? -magnitude : magnitude);
        return true;
    }
    leaveUnread(file, start, "a whole number", where);
    return false;
}

long WrlTokenReader::wordOffset(std::FILE* file)
{
    // Asked of the stream once: glibc's ftell is a system call, too slow for
    // every number of a mesh. next and putBack count on from there.
    if (offset == OFFSET_NOT_ASKED) {
        offset = std::ftell(file);
    }
    return offset;
}

void WrlTokenReader::leaveUnread(std::FILE* file, long start, const char* expected,
                                 const char* where)
{
    if (failed) {
        return;
    }
    // The word is read twice: here for the warning, then whole by the scan.
    // A stream that cannot seek (a pipe) has lost what the number took of it,
    // so there the load stops, as at any other break in the grammar.
    if (start < 0 || std::fseek(file, start, SEEK_SET) != 0) {
        failExpecting(file, expected, where);
        return;
    }
    offset = start;
    const int startLine = wordLine;
    const std::string found = readWordToQuote(file);
    // A control character in the word has already stopped the load, with its
    // own warning.
    if (failed) {
        return;
    }
    if (std::fseek(file, start, SEEK_SET) != 0) {
        fail(std::string("cannot read back: ") + std::strerror(errno));
        return;
    }
    offset = start;
    line = startLine;
    warn(std::string("expected ") + expected + " in the " + where + ", found "
         + quoted(found.c_str()));
}

void WrlTokenReader::failExpecting(std::FILE* file, const char* expected, const char* where)
{
    if (skipSpace(file) == EOF) {
        fail(std::string("the file ends inside the ") + where);
        return;
    }
    const std::string found = readWordToQuote(file);
    fail(std::string("expected ") + expected + " in the " + where + ", found "
         + quoted(found.c_str()));
}

std::string WrlTokenReader::readWordToQuote(std::FILE* file)
{
    // Read by hand rather than by readToken, whose warning about a long word
    // would take the place of the one this is for.
    std::string word;
    for (int c = next(file); c != EOF && !isSpace(c) && word.size() <= QUOTED_LENGTH;
         c = next(file)) {
        word += static_cast<char>(c);
    }
    return word;
}
