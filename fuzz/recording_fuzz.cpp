// Feeds arbitrary bytes to Recording::parse. Whatever the bytes, a read must
// end with 0 or -1 and a reason, never ask for more memory than the input
// could justify (the run sets -malloc_limit_mb), and a record read whole
// must encode back to the very same bytes.

#include <vessik/core/Recording.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *p_data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(p_data), size);
    vk::Recording record;
    std::string error;
    const int result = record.parse(bytes, error);
    if ((result == 0) == !error.empty() || (result == 0 && record.encode() != bytes)) {
        std::fprintf(stderr, "recording_fuzz: parse gave %d with '%s'\n", result, error.c_str());
        std::abort();
    }
    return 0;
}
