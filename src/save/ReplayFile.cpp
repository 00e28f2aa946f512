// The replay file: a fixed little-endian header, the summary, the frame stream packed
// with zlib, and a CRC-32 of everything before it.
#include "save/ReplayFile.h"

#include <zlib.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "engine/Fnv1a.h"
#include "engine/Platform.h"
#include "engine/PrintableText.h"

namespace quillon {

namespace {

constexpr char kMagic[8] = {'Q', 'L', 'N', 'R', 'P', 'L', 'Y', '\x1A'};
constexpr size_t kShortestFile = sizeof kMagic + 2 + 4;
constexpr size_t kLongestText = 64;
constexpr size_t kLongestTyped = 16;
// zlib never packs more than about 1032 bytes into one, so a stream that claims more is a lie.
constexpr uint64_t kInflateRatio = 1032;
constexpr uint32_t kLongestStream = 64u << 20;
// The window events a replay keeps end with the minimise; pad buttons are kept as the keys
// they stand for and a restore is not kept.
constexpr auto kLastEventType = static_cast<uint8_t>(TWindowEvent::TType::Minimize);
constexpr uint64_t kHeldMask = (uint64_t{1} << 36) - 1;

enum TFrameFlag : uint8_t {
    LagChanged = 1,
    TimingChanged = 2,
    HeldChanged = 4,
    ControlsChanged = 8,
    HasChecksum = 16,
    HasEvents = 32,
    Sending = 64,
};

class TWriter {
public:
    std::string Bytes;
    void U8(uint8_t v) { Bytes.push_back(static_cast<char>(v)); }
    void Fixed(uint64_t v, int size) {
        for (int i = 0; i < size; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
    }
    void Varint(uint64_t v) {
        while (v >= 0x80) {
            U8(static_cast<uint8_t>(v | 0x80));
            v >>= 7;
        }
        U8(static_cast<uint8_t>(v));
    }
    void Signed(int64_t v) { Varint((static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63)); }
    void Text(const std::string& text) {
        Varint(text.size());
        Bytes += text;
    }
};

// Reads with every length checked; any fault is the file's, named by `fault`.
class TReader {
public:
    TReader(std::string_view bytes, const std::string& name) : FBytes(bytes), FName(name) {}

    [[noreturn]] void Fail(const std::string& what) const { throw EReplayError(FName + ": " + what); }
    [[noreturn]] void Damaged(const char* field) const { Fail(std::string("damaged (") + field + ")"); }

    bool AtEnd() const { return FAt == FBytes.size(); }
    size_t Left() const { return FBytes.size() - FAt; }
    uint8_t U8(const char* field) {
        if (AtEnd()) Damaged(field);
        return static_cast<uint8_t>(FBytes[FAt++]);
    }
    uint64_t Fixed(int size, const char* field) {
        if (Left() < static_cast<size_t>(size)) Damaged(field);
        uint64_t v = 0;
        for (int i = 0; i < size; ++i) v |= uint64_t{static_cast<uint8_t>(FBytes[FAt++])} << (8 * i);
        return v;
    }
    uint64_t Varint(const char* field) {
        uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const uint8_t byte = U8(field);
            if (shift == 63 && byte > 1) Damaged(field);
            v |= uint64_t{byte & 0x7Fu} << shift;
            if (!(byte & 0x80)) return v;
        }
        Damaged(field);
    }
    int64_t Signed(const char* field) {
        const uint64_t v = Varint(field);
        return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
    }
    int32_t Int(int64_t low, int64_t high, const char* field) {
        const int64_t v = Signed(field);
        if (v < low || v > high) Damaged(field);
        return static_cast<int32_t>(v);
    }
    std::string Text(size_t longest, const char* field) {
        const uint64_t size = Varint(field);
        if (size > longest || size > Left()) Damaged(field);
        std::string text(FBytes.substr(FAt, static_cast<size_t>(size)));
        FAt += static_cast<size_t>(size);
        return text;
    }
    std::string_view Take(size_t size, const char* field) {
        if (size > Left()) Damaged(field);
        std::string_view part = FBytes.substr(FAt, size);
        FAt += size;
        return part;
    }

private:
    std::string_view FBytes;
    const std::string& FName;
    size_t FAt = 0;
};

uint32_t Crc32(std::string_view bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes lengths as uInt; replays are far below its limit.
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
    return static_cast<uint32_t>(crc);
}

void WriteEvent(TWriter& out, const TReplayEvent& event) {
    out.U8(event.Type);
    out.Signed(event.Key);
    out.U8(event.Alt ? 1 : 0);
    out.U8(event.Shift);
    out.Signed(event.X);
    out.Signed(event.Y);
    out.Signed(event.Button);
    out.Text(event.Text);
}

TReplayEvent ReadEvent(TReader& in, uint32_t beforeFrame) {
    TReplayEvent event;
    event.BeforeFrame = beforeFrame;
    event.Type = in.U8("event type");
    if (event.Type > kLastEventType) in.Damaged("event type");
    event.Key = in.Int(-65536, 65536, "event key");
    const uint8_t alt = in.U8("event Alt");
    if (alt > 1) in.Damaged("event Alt");
    event.Alt = alt == 1;
    event.Shift = in.U8("event modifiers");
    event.X = in.Int(-100000, 100000, "event position");
    event.Y = in.Int(-100000, 100000, "event position");
    event.Button = in.Int(0, 255, "event button");
    event.Text = in.Text(kLongestTyped, "typed text");
    return event;
}

// Each frame says only what changed since the one before; events ride before their frame.
std::string EncodeStream(const TReplay& replay) {
    TWriter out;
    TReplayFrame last;
    size_t nextEvent = 0;
    auto eventsBefore = [&](uint32_t frame) {
        size_t end = nextEvent;
        while (end < replay.Events.size() && replay.Events[end].BeforeFrame <= frame) ++end;
        return end;
    };
    for (uint32_t i = 0; i < replay.Frames.size(); ++i) {
        const TReplayFrame& frame = replay.Frames[i];
        const size_t eventsEnd = eventsBefore(i);
        uint8_t flags = 0;
        if (frame.Lag != last.Lag) flags |= LagChanged;
        if (frame.FrameMs != last.FrameMs || std::bit_cast<uint64_t>(frame.SpeedScale) !=
                                                 std::bit_cast<uint64_t>(last.SpeedScale))
            flags |= TimingChanged;
        if (frame.Held != last.Held) flags |= HeldChanged;
        if (frame.Controls != last.Controls) flags |= ControlsChanged;
        if (frame.Checksum) flags |= HasChecksum;
        if (eventsEnd > nextEvent) flags |= HasEvents;
        if (frame.SendingBusy) flags |= Sending;
        out.U8(flags);
        if (flags & HasEvents) {
            out.Varint(eventsEnd - nextEvent);
            for (; nextEvent < eventsEnd; ++nextEvent) WriteEvent(out, replay.Events[nextEvent]);
        }
        if (flags & LagChanged) out.Signed(frame.Lag);
        if (flags & TimingChanged) {
            out.Signed(frame.FrameMs);
            out.Fixed(std::bit_cast<uint64_t>(frame.SpeedScale), 8);
        }
        if (flags & HeldChanged) out.Varint(frame.Held);
        if (flags & ControlsChanged) out.U8(frame.Controls);
        if (frame.Checksum) out.Fixed(*frame.Checksum, 8);
        last = frame;
    }
    out.Varint(replay.Events.size() - nextEvent);
    for (; nextEvent < replay.Events.size(); ++nextEvent) WriteEvent(out, replay.Events[nextEvent]);
    return out.Bytes;
}

void DecodeStream(TReader& in, uint32_t frames, TReplay& replay) {
    TReplayFrame last;
    for (uint32_t i = 0; i < frames; ++i) {
        TReplayFrame frame = last;
        frame.Checksum.reset();
        const uint8_t flags = in.U8("frame");
        if (flags & 0x80) in.Damaged("frame");
        frame.SendingBusy = flags & Sending;
        if (flags & HasEvents) {
            const uint64_t count = in.Varint("event count");
            if (count == 0 || count > in.Left() || replay.Events.size() + count > kMaxReplayEvents)
                in.Damaged("event count");
            for (uint64_t e = 0; e < count; ++e) replay.Events.push_back(ReadEvent(in, i));
        }
        if (flags & LagChanged) frame.Lag = in.Int(1, 600000, "frame lag");
        if (flags & TimingChanged) {
            frame.FrameMs = in.Int(1, 1000, "frame timing");
            frame.SpeedScale = std::bit_cast<double>(in.Fixed(8, "frame timing"));
            if (!std::isfinite(frame.SpeedScale) || frame.SpeedScale <= 0 || frame.SpeedScale > 100)
                in.Damaged("frame timing");
        }
        if (flags & HeldChanged) {
            frame.Held = in.Varint("held keys");
            if (frame.Held & ~kHeldMask) in.Damaged("held keys");
        }
        if (flags & ControlsChanged) frame.Controls = in.U8("controls");
        if (flags & HasChecksum) frame.Checksum = in.Fixed(8, "checksum");
        replay.Frames.push_back(frame);
        last = frame;
    }
    const uint64_t trailing = in.Varint("event count");
    if (trailing > in.Left() || replay.Events.size() + trailing > kMaxReplayEvents) in.Damaged("event count");
    for (uint64_t e = 0; e < trailing; ++e) replay.Events.push_back(ReadEvent(in, frames));
    if (!in.AtEnd()) in.Damaged("frame stream");
}

void WriteHeader(TWriter& out, const TReplayHeader& h) {
    out.Text(h.GameVersion);
    out.Fixed(h.DataHash, 8);
    out.U8(h.Ship);
    out.U8(h.StartLevel);
    out.Fixed(h.Seed, 8);
    out.Fixed(h.GeneratorState, 8);
    out.U8(static_cast<uint8_t>((h.Demo ? 1 : 0) | (h.PilotAtStart ? 2 : 0) | (h.ShiftHeld ? 4 : 0) |
                                (h.CtrlHeld ? 8 : 0) | (h.PilotDrove ? 16 : 0)));
    out.Varint(h.HeldAtStart);
    out.Signed(h.FrameMsAtStart);
    out.Fixed(std::bit_cast<uint64_t>(h.SpeedScaleAtStart), 8);
    out.Signed(h.MouseX);
    out.Signed(h.MouseY);
    out.Text(h.PlayerName);
    for (const THighScore& entry : h.Table) {
        out.Text(entry.Name);
        out.Signed(entry.Score);
    }
}

TReplayHeader ReadHeader(TReader& in) {
    TReplayHeader h;
    h.GameVersion = in.Text(kLongestText, "game version");
    h.DataHash = in.Fixed(8, "data hash");
    h.Ship = in.U8("ship");
    if (h.Ship < 1 || h.Ship > 5) in.Damaged("ship");
    h.StartLevel = in.U8("start level");
    if (h.StartLevel < 1 || h.StartLevel > 10) in.Damaged("start level");
    h.Seed = in.Fixed(8, "seed");
    h.GeneratorState = in.Fixed(8, "generator state");
    const uint8_t flags = in.U8("flags");
    if (flags & 0xE0) in.Damaged("flags");
    h.Demo = flags & 1;
    h.PilotAtStart = flags & 2;
    h.ShiftHeld = flags & 4;
    h.CtrlHeld = flags & 8;
    h.PilotDrove = flags & 16;
    h.HeldAtStart = in.Varint("held keys");
    if (h.HeldAtStart & ~kHeldMask) in.Damaged("held keys");
    h.FrameMsAtStart = in.Int(1, 1000, "start timing");
    h.SpeedScaleAtStart = std::bit_cast<double>(in.Fixed(8, "start timing"));
    if (!std::isfinite(h.SpeedScaleAtStart) || h.SpeedScaleAtStart <= 0 || h.SpeedScaleAtStart > 100)
        in.Damaged("start timing");
    h.MouseX = in.Int(-100000, 100000, "mouse position");
    h.MouseY = in.Int(-100000, 100000, "mouse position");
    h.PlayerName = in.Text(kLongestText, "player name");
    for (THighScore& entry : h.Table) {
        entry.Name = in.Text(kLongestText, "high-score table");
        entry.Score = in.Int(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                             "high-score table");
    }
    return h;
}

void WriteSummary(TWriter& out, const TReplaySummary& s) {
    out.Varint(s.Frames);
    out.Signed(s.Level);
    out.Signed(s.Score);
    out.Signed(s.Lives);
    out.Signed(s.Place);
    out.U8(static_cast<uint8_t>(s.End));
    out.U8(s.EnteredTable ? 1 : 0);
    out.Text(s.TableName);
}

TReplaySummary ReadSummary(TReader& in) {
    TReplaySummary s;
    const uint64_t frames = in.Varint("frame count");
    if (frames > kMaxReplayFrames) in.Damaged("frame count");
    s.Frames = static_cast<uint32_t>(frames);
    s.Level = in.Int(1, 10, "summary");
    s.Score = in.Int(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), "summary");
    s.Lives = in.Int(0, 99, "summary");
    s.Place = in.Int(0, 6, "summary");
    const uint8_t end = in.U8("summary");
    if (end > static_cast<uint8_t>(TReplayEnd::Signal)) in.Damaged("summary");
    s.End = static_cast<TReplayEnd>(end);
    const uint8_t entered = in.U8("summary");
    if (entered > 1) in.Damaged("summary");
    s.EnteredTable = entered == 1;
    s.TableName = in.Text(kLongestText, "summary");
    return s;
}

}  // namespace

const char* ReplayEndName(TReplayEnd end) {
    switch (end) {
        case TReplayEnd::Left: return "left";
        case TReplayEnd::GameOver: return "game over";
        case TReplayEnd::Congratulated: return "congratulated";
        case TReplayEnd::Closed: return "closed";
        case TReplayEnd::Signal: return "signal";
    }
    return "?";
}

std::string EncodeReplay(const TReplay& replay) {
    TWriter out;
    out.Bytes.assign(kMagic, sizeof kMagic);
    out.Fixed(kReplayFormatVersion, 2);
    WriteHeader(out, replay.Header);
    WriteSummary(out, replay.Summary);

    const std::string stream = EncodeStream(replay);
    uLongf packedSize = compressBound(static_cast<uLong>(stream.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(stream.data()), static_cast<uLong>(stream.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw EReplayError("replay: cannot pack the frame stream");
    packed.resize(packedSize);
    out.Varint(stream.size());
    out.Varint(packed.size());
    out.Bytes += packed;
    out.Fixed(Crc32(out.Bytes), 4);
    return out.Bytes;
}

TReplay DecodeReplay(std::string_view bytes, const std::string& name,
                     const std::optional<TReplayExpectation>& expect) {
    const std::string shown = PrintableText(name);
    TReader check(bytes, shown);
    if (bytes.empty()) check.Fail("empty file");
    if (bytes.size() < sizeof kMagic || bytes.substr(0, sizeof kMagic) != std::string_view(kMagic, sizeof kMagic))
        check.Fail("not a replay file");
    if (bytes.size() < kShortestFile) check.Fail("cut short");
    const uint16_t version = static_cast<uint16_t>(static_cast<uint8_t>(bytes[8]) | static_cast<uint8_t>(bytes[9]) << 8);
    if (version != kReplayFormatVersion)
        check.Fail("replay format version " + std::to_string(version) + ", this game plays version " +
                   std::to_string(kReplayFormatVersion));
    const std::string_view body = bytes.substr(0, bytes.size() - 4);
    TReader trailer(bytes.substr(bytes.size() - 4), shown);
    if (trailer.Fixed(4, "checksum") != Crc32(body)) check.Fail("cut short or damaged (file checksum)");

    TReader in(body.substr(sizeof kMagic + 2), shown);
    TReplay replay;
    replay.Header = ReadHeader(in);
    replay.Summary = ReadSummary(in);
    if (expect && replay.Header.GameVersion != expect->GameVersion)
        in.Fail("recorded by game version " + PrintableText(replay.Header.GameVersion) + ", this is " +
                expect->GameVersion);
    if (expect && replay.Header.DataHash != expect->DataHash &&
        (expect->FormerDataHash == 0 || replay.Header.DataHash != expect->FormerDataHash))
        in.Fail("recorded with other data files");

    const uint64_t streamSize = in.Varint("frame stream");
    const uint64_t packedSize = in.Varint("frame stream");
    if (packedSize != in.Left() || streamSize > kLongestStream || streamSize > packedSize * kInflateRatio ||
        replay.Summary.Frames > streamSize)
        in.Damaged("frame stream");
    const std::string_view packed = in.Take(static_cast<size_t>(packedSize), "frame stream");
    std::string stream(static_cast<size_t>(streamSize), '\0');
    uLongf unpackedSize = static_cast<uLongf>(streamSize);
    uLong packedUsed = static_cast<uLong>(packed.size());
    // Bytes after the packed stream's end make the file damaged too: a replay has one form only.
    if (uncompress2(reinterpret_cast<Bytef*>(stream.data()), &unpackedSize,
                    reinterpret_cast<const Bytef*>(packed.data()), &packedUsed) != Z_OK ||
        unpackedSize != streamSize || packedUsed != packed.size())
        in.Damaged("frame stream");

    TReader frames(stream, shown);
    DecodeStream(frames, replay.Summary.Frames, replay);
    return replay;
}

void DecodeReplayStream(std::string_view stream, uint32_t frames, const std::string& name, TReplay& replay) {
    const std::string shown = PrintableText(name);
    TReader in(stream, shown);
    DecodeStream(in, frames, replay);
}

uint64_t ReplayContentHash(const TReplay& replay) {
    TWriter out;
    WriteHeader(out, replay.Header);
    WriteSummary(out, replay.Summary);
    return Fnv1a(EncodeStream(replay), Fnv1a(out.Bytes));
}

TReplay ReadReplayFile(const std::string& path, const std::optional<TReplayExpectation>& expect) {
    const std::string shown = PrintableText(path);
    // A pipe or a device would block or never end: only a regular file is read.
    std::error_code error;
    if (!std::filesystem::exists(path, error)) throw EReplayError(shown + ": cannot open the file");
    if (!std::filesystem::is_regular_file(path, error)) throw EReplayError(shown + ": not a regular file");
    std::ifstream file(path, std::ios::binary);
    if (!file) throw EReplayError(shown + ": cannot open the file");
    std::string bytes;
    char chunk[65536];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        bytes.append(chunk, static_cast<size_t>(file.gcount()));
        if (bytes.size() > kReplayFileLimit) throw EReplayError(shown + ": too large for a replay");
    }
    if (file.bad()) throw EReplayError(shown + ": cannot read the file");
    return DecodeReplay(bytes, path, expect);
}

}  // namespace quillon
