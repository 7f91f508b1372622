// A player option file from a disc's System folder, through the public parser.

#include "app/player/filter_graph.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto graph = corvane::parseFilterGraph(corvane::fuzz::asText(data, size));
    (void)graph;
    return 0;
}
