// SPDX-License-Identifier: GPL-3.0-or-later
// The messages' bytes: written and read with bounds checked at every field.
// Each message lists its fields once, and the same list writes and reads it.
#include "net/Message.h"

#include <exception>
#include <limits>
#include <utility>

#include "net/ByteReader.h"
#include "net/ByteWriter.h"
#include "replay/ReplayFormat.h"

static_assert(sizeof(int) == 4, "ints travel as 32 bits");
static_assert(std::variant_size_v<Net::Message> <= 256, "a message's kind is one byte");

namespace Net {

namespace {

constexpr int ANY_LOW = std::numeric_limits<int>::min();
constexpr int ANY_HIGH = std::numeric_limits<int>::max();

bool isToken(const std::string& token)
{
    if (token.empty()) {
        return true;
    }
    if (token.size() != TOKEN_TEXT) {
        return false;
    }
    for (char c : token) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex) {
            return false;
        }
    }
    return true;
}

// Writes fields, refusing (false) any value that FieldReader would refuse.
class FieldWriter {
public:
    template <class T>
    using Ref = const T&;

    ByteWriter out;

    bool number(int value, int low, int high, const char*)
    {
        if (value < low || value > high) {
            return false;
        }
        out.writeI32(value);
        return true;
    }
    bool whole(std::uint32_t value, const char*)
    {
        out.writeU32(value);
        return true;
    }
    bool whole(std::uint64_t value, const char*)
    {
        out.writeU64(value);
        return true;
    }
    bool text(const std::string& value, std::size_t maximum, const char*)
    {
        if (value.size() > maximum || value.size() > std::numeric_limits<std::uint16_t>::max()) {
            return false;
        }
        out.writeU16(static_cast<std::uint16_t>(value.size()));
        out.writeBytes(reinterpret_cast<const std::uint8_t*>(value.data()), value.size());
        return true;
    }
    bool token(const std::string& value) { return isToken(value) && text(value, TOKEN_TEXT, "token"); }
    // A run of bytes too long for a 16-bit length: 32 bits.
    bool blob(const std::vector<std::uint8_t>& value, std::size_t maximum, const char*)
    {
        if (value.size() > maximum || value.size() > std::numeric_limits<std::uint32_t>::max()) {
            return false;
        }
        out.writeU32(static_cast<std::uint32_t>(value.size()));
        out.writeBytes(value.data(), value.size());
        return true;
    }
    // The count of a vector's elements, before them.
    template <class T>
    bool count(const std::vector<T>& items, std::size_t maximum, const char*)
    {
        if (items.size() > maximum || items.size() > std::numeric_limits<std::uint16_t>::max()) {
            return false;
        }
        out.writeU16(static_cast<std::uint16_t>(items.size()));
        return true;
    }
    bool holder(SeatHolder holder)
    {
        if (holder > SeatHolder::computer) {
            return false;
        }
        out.writeU8(static_cast<std::uint8_t>(holder));
        return true;
    }
    // The replay line of the command at tick 0.
    bool command(const GameCommand& command)
    {
        const std::string line = ReplayFormat::formatStep(0, command);
        return !line.empty() && text(line, MAX_REPLAY_LINE, "command");
    }
};

// Reads fields from untrusted bytes; the first that is wrong stops it with
// the reason in problem.
class FieldReader {
public:
    template <class T>
    using Ref = T&;

    FieldReader(ByteReader& in, std::string& problem) : in(in), problem(problem) {}

    bool number(int& value, int low, int high, const char* what)
    {
        std::int32_t read = 0;
        if (!in.readI32(read)) {
            return truncated(what);
        }
        if (read < low || read > high) {
            problem = low == 0 && read < 0 ? "negative " + std::string(what)
                                           : std::string(what) + " " + std::to_string(read) + " out of "
                                                 + std::to_string(low) + " to " + std::to_string(high);
            return false;
        }
        value = read;
        return true;
    }
    bool whole(std::uint32_t& value, const char* what) { return in.readU32(value) || truncated(what); }
    bool whole(std::uint64_t& value, const char* what) { return in.readU64(value) || truncated(what); }
    bool text(std::string& value, std::size_t maximum, const char* what)
    {
        std::uint16_t length = 0;
        const std::uint8_t* start = nullptr;
        if (!in.readU16(length)) {
            return truncated(what);
        }
        if (length > maximum) {
            problem = std::string(what) + " longer than " + std::to_string(maximum) + " bytes";
            return false;
        }
        if (!in.readBytes(length, start)) {
            return truncated(what);
        }
        value.assign(reinterpret_cast<const char*>(start), length);
        return true;
    }
    bool token(std::string& value)
    {
        if (!text(value, TOKEN_TEXT, "token")) {
            return false;
        }
        if (!isToken(value)) {
            problem = "token not 32 hexadecimal digits";
            return false;
        }
        return true;
    }
    bool blob(std::vector<std::uint8_t>& value, std::size_t maximum, const char* what)
    {
        std::uint32_t length = 0;
        const std::uint8_t* start = nullptr;
        if (!in.readU32(length)) {
            return truncated(what);
        }
        if (length > maximum) {
            problem = std::string(what) + " of " + std::to_string(length) + " bytes, larger than "
                      + std::to_string(maximum);
            return false;
        }
        if (!in.readBytes(length, start)) {
            return truncated(what);
        }
        value.assign(start, start + length);
        return true;
    }
    template <class T>
    bool count(std::vector<T>& items, std::size_t maximum, const char* what)
    {
        std::uint16_t read = 0;
        if (!in.readU16(read)) {
            return truncated(what);
        }
        if (read > maximum) {
            problem = std::string(what) + " count " + std::to_string(read) + " larger than " + std::to_string(maximum);
            return false;
        }
        items.resize(read);
        return true;
    }
    bool holder(SeatHolder& holder)
    {
        std::uint8_t read = 0;
        if (!in.readU8(read)) {
            return truncated("seat holder");
        }
        if (read > static_cast<std::uint8_t>(SeatHolder::computer)) {
            problem = "seat holder " + std::to_string(read) + " unknown";
            return false;
        }
        holder = static_cast<SeatHolder>(read);
        return true;
    }
    // A replay line at tick 0, exactly as formatStep writes its command.
    bool command(GameCommand& command)
    {
        std::string line;
        if (!text(line, MAX_REPLAY_LINE, "command")) {
            return false;
        }
        std::string why;
        std::optional<ReplayFormat::Step> step = ReplayFormat::parseStep(line, why);
        if (!step) {
            problem = "bad command (" + why + ")";
            return false;
        }
        if (step->tick != 0) {
            problem = "command at tick " + std::to_string(step->tick) + ", not 0";
            return false;
        }
        if (ReplayFormat::formatStep(0, step->command) != line) {
            problem = "command not in the words this game writes";
            return false;
        }
        command = std::move(step->command);
        return true;
    }

private:
    bool truncated(const char* what)
    {
        problem = "truncated at the " + std::string(what);
        return false;
    }

    ByteReader& in;       // not owned: decode's
    std::string& problem; // not owned: decode's caller's
};

// Each message's fields in their order on the wire, for FieldWriter and
// FieldReader alike (F::Ref is a const or a plain reference).

template <class F>
bool fields(F& f, typename F::template Ref<Hello> hello)
{
    return f.number(hello.version, ANY_LOW, ANY_HIGH, "version") && f.text(hello.name, MAX_NAME_TEXT, "name")
           && f.token(hello.token) && f.text(hello.password, MAX_PASSWORD_TEXT, "password");
}

template <class F>
bool fields(F& f, typename F::template Ref<Welcome> welcome)
{
    if (!f.number(welcome.version, ANY_LOW, ANY_HIGH, "version") || !f.number(welcome.machine, 0, ANY_HIGH, "machine")
        || !f.token(welcome.token) || !f.count(welcome.seats, MAX_SEATS, "seat")) {
        return false;
    }
    for (auto& seat : welcome.seats) {
        if (!f.number(seat, 0, MAX_SEATS - 1, "seat")) {
            return false;
        }
    }
    return true;
}

template <class F>
bool fields(F& f, typename F::template Ref<Refusal> refusal)
{
    return f.text(refusal.reason, MAX_NOTICE_TEXT, "reason");
}

template <class F>
bool fields(F& f, typename F::template Ref<Request> request)
{
    return f.command(request.command);
}

template <class F>
bool fields(F& f, typename F::template Ref<Applied> applied)
{
    return f.whole(applied.sequence, "sequence") && f.command(applied.command);
}

template <class F>
bool fields(F& f, typename F::template Ref<ShotDigest> digest)
{
    return f.number(digest.shot, 0, ANY_HIGH, "shot") && f.whole(digest.digest, "digest");
}

template <class F>
bool fields(F& f, typename F::template Ref<State> state)
{
    return f.whole(state.sequence, "sequence") && f.number(state.shot, 0, ANY_HIGH, "shot")
           && f.blob(state.compressed, MAX_SERVER_MESSAGE, "compressed state");
}

template <class F>
bool fields(F& f, typename F::template Ref<Seats> seats)
{
    if (!f.count(seats.seats, MAX_SEATS, "seat")) {
        return false;
    }
    for (auto& seat : seats.seats) {
        if (!f.holder(seat.holder) || !f.text(seat.name, MAX_NAME_TEXT, "seat's name")) {
            return false;
        }
    }
    return f.number(seats.waiting, 0, MAX_SEATS, "waiting seats");
}

template <class F>
bool fields(F& f, typename F::template Ref<Chat> chat)
{
    return f.text(chat.name, MAX_NAME_TEXT, "name") && f.text(chat.text, MAX_CHAT_BYTES, "chat text");
}

template <class F>
bool fields(F& f, typename F::template Ref<Notice> notice)
{
    return f.text(notice.text, MAX_NOTICE_TEXT, "notice");
}

template <class F>
bool fields(F& f, typename F::template Ref<TurnClock> clock)
{
    return f.number(clock.player, 0, MAX_SEATS - 1, "player") && f.whole(clock.milliseconds, "milliseconds");
}

// The message of kind, from Index on.
template <std::size_t Index = 0>
std::optional<Message> readMessage(std::size_t kind, FieldReader& in, std::string& problem)
{
    if constexpr (Index < std::variant_size_v<Message>) {
        if (kind != Index) {
            return readMessage<Index + 1>(kind, in, problem);
        }
        std::variant_alternative_t<Index, Message> message;
        if (!fields(in, message)) {
            return std::nullopt;
        }
        return Message(std::in_place_index<Index>, std::move(message));
    } else {
        problem = "unknown message kind " + std::to_string(kind);
        return std::nullopt;
    }
}

std::optional<Message> decodeChecked(const std::uint8_t* data, std::size_t size, std::size_t limit,
                                     std::string& problem)
{
    if (size > limit) {
        problem = "message of " + std::to_string(size) + " bytes, larger than " + std::to_string(limit);
        return std::nullopt;
    }
    ByteReader bytes(data, size);
    std::uint8_t kind = 0;
    if (!bytes.readU8(kind)) {
        problem = "empty message";
        return std::nullopt;
    }
    FieldReader in(bytes, problem);
    std::optional<Message> message = readMessage(kind, in, problem);
    if (message && bytes.remaining() > 0) {
        problem = std::to_string(bytes.remaining()) + (bytes.remaining() == 1 ? " byte" : " bytes")
                  + " past the message's end";
        return std::nullopt;
    }
    return message;
}

} // namespace

std::vector<std::uint8_t> encode(const Message& message)
{
    try {
        FieldWriter writer;
        writer.out.writeU8(static_cast<std::uint8_t>(message.index()));
        const bool written = std::visit([&writer](const auto& value) { return fields(writer, value); }, message);
        if (!written || writer.out.bytes().size() > MAX_SERVER_MESSAGE) {
            return {};
        }
        return writer.out.take();
    } catch (const std::exception&) {
        return {};
    }
}

std::optional<Message> decode(const std::uint8_t* data, std::size_t size, std::size_t limit, std::string& problem)
{
    try {
        return decodeChecked(data, size, limit, problem);
    } catch (const std::exception& error) {
        problem = "message not readable (" + std::string(error.what()) + ")";
        return std::nullopt;
    }
}

} // namespace Net
