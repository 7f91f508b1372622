// Eventi.txt of a package, read as the package opening reads it.

#include "core/log.h"
#include "fuzz/fuzz_support.h"
#include "scout/events.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path file = corvane::fuzz::writeInput(
        corvane::fuzz::PrivateFolder::instance().path() / "Eventi.txt", corvane::fuzz::asText(data, size));
    static const corvane::SystemPlatform platform;
    corvane::ApplicationLog log = corvane::ApplicationLog::discarding(platform);
    const corvane::EventTable table = corvane::LoadEvents(file, log);
    (void)table;
    return 0;
}
