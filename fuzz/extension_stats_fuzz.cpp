// StatExt.txt, read from memory; every row and label clicked and every row's code laid over a
// pattern, as the extension windows do.

#include "core/files.h"
#include "fuzz/fuzz_support.h"
#include "stats/extension_stats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const corvane::ExtensionStats stats =
        corvane::readExtensionStats(corvane::splitTextLines(corvane::fuzz::asText(data, size)));
    const std::string pattern = corvane::extensionPattern(true, "07", "FI");
    const std::vector<std::string> labels = corvane::extensionLabels(stats);
    const int labelCount = static_cast<int>(labels.size());
    for (int label = -1; label <= labelCount; ++label) corvane::extensionLabelEffect(labels, label);
    for (int offset = -1; offset < 45 * (labelCount + 1); offset += 7)
        corvane::extensionLabelAt(offset, 40, labelCount);
    for (int row = 0; row < static_cast<int>(stats.rows.size()); ++row) {
        corvane::overlayForClick(pattern, stats.rows[static_cast<std::size_t>(row)].code);
        corvane::overlayForButton(pattern, stats.rows[static_cast<std::size_t>(row)].code);
        stats.opensDeeperLevel(stats.rows[static_cast<std::size_t>(row)].code);
        for (int label = -1; label <= labelCount; ++label) corvane::extensionClickPattern(pattern, stats, row, label);
    }
    return 0;
}
