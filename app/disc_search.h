#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// An installed program (its folder holds no Tlx_Video) started without a disc looks for one on
// the user's mounted media; a disc folder without a System folder of its own reads the
// installed program's.

// Whether the folder holds the packages folder Tlx_Video (in any letter case): a disc.
bool holdsPackages(const std::filesystem::path& folder);

// The folders whose entries are the mount points of removable media, below the mount tree's
// root: media/USER, run/media/USER (the desktop's automounts) and mnt. Without a root nothing;
// without a usable user name only mnt.
std::vector<std::filesystem::path> mediaFolders(const std::filesystem::path& mountTreeRoot, const std::string& user);

// The discs on the media: every media folder, and every folder in one, that holds Tlx_Video; in
// the order of the media folders, by name within one.
std::vector<std::filesystem::path> findDiscs(const std::vector<std::filesystem::path>& mediaFolders);

// What start-up does with the discs found: use the only one, or ask the user for the disc
// folder in a chooser that opens at `folder`.
struct DiscDecision {
    bool found = false;
    std::filesystem::path folder;

    bool operator==(const DiscDecision&) const = default;
};

// One disc: it is used. Several: the chooser opens at the last disc when it is one of them, else
// at the folder that holds the first. None: at the last disc, else at `elsewhere`. lastDisc is
// the remembered folder when it still exists.
DiscDecision decideDisc(const std::vector<std::filesystem::path>& discs,
                        const std::optional<std::filesystem::path>& lastDisc, const std::filesystem::path& elsewhere);

// The settings text of a remembered disc and back: quoted, so that blanks at either end survive;
// a folder whose name would break the settings line is not remembered (nothing, and no folder).
std::optional<std::string> rememberedDiscText(const std::filesystem::path& disc);
std::optional<std::filesystem::path> rememberedDisc(const std::string& text);

// The System folder of an installed program: share/corvane-player/System beside the bin folder
// that holds the executable (so an unpacked package works where it lies).
std::filesystem::path installedSystemFolder(const std::filesystem::path& executable);

}  // namespace corvane
