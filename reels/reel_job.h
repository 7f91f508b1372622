#pragma once

#include <functional>
#include <string>
#include <vector>

#include "codes/code_passes.h"
#include "codes/reel_plan.h"
#include "reels/reel_writer.h"

namespace corvane {

// How long a caption stays over the start of its code's action.
inline constexpr double kCaptionSeconds = 4.0;

// The writer's clips for a plan: each clip's film from the package's film list (film n at index
// n - 1), and, when caption is given, each code's caption (Windows-1252, as the list's texts)
// from where its action starts, for kCaptionSeconds or until the next code's caption.
std::vector<ReelSource> reelSources(const ReelPlan& plan, const std::vector<CodeListRow>& rows,
                                    const std::vector<std::string>& films,
                                    const std::function<std::string(const CodeListRow&)>& caption);

// The length of each film of the list, nothing for one that cannot be read.
std::vector<std::optional<double>> filmLengths(const std::vector<std::string>& films);

}  // namespace corvane
