// Reports the unpacked bytes to the caller's callback as they pass on to their destination, in pieces of
// at most max_piece bytes so that the caller hears from the module at least that often. A -1 answer, or
// a close of the archive asked for from inside the callback, stops the operation with ERAR_UNKNOWN; the
// destination then throws its unfinished output away. While a decoder works on without output, the
// caller hears of empty pieces, so that it can keep its window alive and cancel meanwhile.
#pragma once

#include "unrar/client_callback.h"
#include "unrar/data_sink.h"

namespace kelvox::unrar {

class ProgressSink : public DataSink {
public:
    static constexpr std::size_t max_piece = std::size_t{1} << 20;

    ProgressSink(DataSink& next, const ClientCallback& client, const bool* abort_flag)
        : next_(next), client_(client), abort_flag_(abort_flag) {}

    void write(const unsigned char* data, std::size_t size) override;
    void keep_alive() override;

private:
    void report(const unsigned char* data, std::size_t size);

    DataSink& next_;
    const ClientCallback& client_;
    const bool* abort_flag_;
};

} // namespace kelvox::unrar
