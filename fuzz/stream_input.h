#pragma once
// How a fuzz input becomes a session: its first byte picks the phase the
// connection is in, its last bytes say where the received stream is cut
// into chunks, and the rest is the stream itself. Seeds are therefore plain
// session text: a phase byte, then real lines.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

enum class StreamPhase : uint8_t { LoggingOn, CreatingAccount, AwaitingStream, Streaming };

struct StreamInput {
    StreamPhase phase = StreamPhase::Streaming;
    uint8_t flags = 0; // phase byte's upper bits: options the target may vary
    std::vector<std::string> chunks;
};

inline StreamInput CutStream(const uint8_t* data, std::size_t size)
{
    StreamInput in;
    if (size == 0)
        return in;
    in.phase = static_cast<StreamPhase>(data[0] & 3);
    in.flags = static_cast<uint8_t>(data[0] >> 2);
    FuzzedDataProvider fdp(data + 1, size - 1);
    while (fdp.remaining_bytes() > 0) {
        // Chunk sizes come from the end of the input, the bytes from the front;
        // a socket read delivers at most 4095 bytes.
        const auto length = fdp.ConsumeIntegralInRange<std::size_t>(1, 4095);
        in.chunks.push_back(fdp.ConsumeBytesAsString(length));
    }
    return in;
}

// A broken property stops the fuzzer with the input that broke it.
inline void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "broken property: %s\n", what);
        std::abort();
    }
}
