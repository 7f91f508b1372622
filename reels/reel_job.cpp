#include "reels/reel_job.h"

#include <algorithm>

#include "core/cp1252.h"

namespace corvane {

std::vector<ReelSource> reelSources(const ReelPlan& plan, const std::vector<CodeListRow>& rows,
                                    const std::vector<std::string>& films,
                                    const std::function<std::string(const CodeListRow&)>& caption) {
    std::vector<ReelSource> sources;
    for (const ReelClip& clip : plan.clips) {
        if (clip.film < 1 || clip.film > static_cast<int>(films.size())) continue;
        ReelSource source{films[static_cast<std::size_t>(clip.film - 1)], clip.start, clip.end, {}};
        if (caption) {
            for (std::size_t i = 0; i < clip.codes.size(); ++i) {
                const ReelCode& code = clip.codes[i];
                if (code.listRow < 1 || code.listRow > static_cast<int>(rows.size())) continue;
                double until = std::min(code.start + kCaptionSeconds, clip.end);
                if (i + 1 < clip.codes.size()) until = std::min(until, std::max(code.start, clip.codes[i + 1].start));
                const std::string text = cp1252ToUtf8(caption(rows[static_cast<std::size_t>(code.listRow - 1)]));
                if (until > code.start && !text.empty()) source.captions.push_back({code.start, until, text});
            }
        }
        sources.push_back(std::move(source));
    }
    return sources;
}

std::vector<std::optional<double>> filmLengths(const std::vector<std::string>& films) {
    std::vector<std::optional<double>> lengths;
    for (const std::string& film : films) lengths.push_back(filmLengthSeconds(film));
    return lengths;
}

}  // namespace corvane
