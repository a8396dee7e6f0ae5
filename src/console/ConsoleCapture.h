// SPDX-License-Identifier: GPL-3.0-or-later
// Copies what is written to a stream, line by line, while still writing it
// there: what the console's handlers answer, kept for the window as it goes
// to standard output unchanged.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

class ConsoleCapture : private std::streambuf {
public:
    // Tees stream from now until this capture goes; stream must outlive it.
    explicit ConsoleCapture(std::ostream& stream);
    ~ConsoleCapture() override;
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

    // The whole lines written so far, without their line ends; a last line
    // not yet ended counts too.
    std::vector<std::string> lines() const;

private:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

    std::ostream& stream;    // not owned
    std::streambuf* target;  // the stream's own buffer, written through
    std::vector<std::string> whole;
    std::string partial;
};
