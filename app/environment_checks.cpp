#include "app/environment_checks.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "core/files.h"

namespace corvane {

namespace {

constexpr std::size_t kLongestShownName = 80;

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

// A value as the shell would read it: quotes removed, backslash escapes inside double quotes.
std::string unquoted(std::string_view value) {
    std::string result;
    char quote = 0;
    for (std::size_t at = 0; at < value.size(); ++at) {
        const char c = value[at];
        if (quote == 0 && (c == '"' || c == '\'')) {
            quote = c;
        } else if (quote != 0 && c == quote) {
            quote = 0;
        } else if (quote == '"' && c == '\\' && at + 1 < value.size()) {
            result += value[++at];
        } else {
            result += c;
        }
    }
    return result;
}

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

// A name that is only shown: printable characters, one line, a sensible length.
std::string shownName(const std::string& text) {
    std::string result;
    for (const unsigned char c : text)
        if (c >= 0x20 && c != 0x7f) result += static_cast<char>(c);
    if (result.size() > kLongestShownName) result.resize(kLongestShownName);
    return result;
}

struct Family {
    std::array<std::string_view, 3> ids;
    std::string_view videoStack;
    std::string_view mpeg4Decoder;
    std::string_view videoStackAddress;
    std::string_view mpeg4DecoderAddress;
};

constexpr std::array<Family, 4> kFamilies{{
    {{"debian", "ubuntu", ""},
     "sudo apt install mpv libavcodec-extra",
     "sudo apt install libavcodec-extra",
     "https://packages.debian.org/stable/mpv",
     "https://packages.debian.org/stable/libavcodec-extra"},
    {{"fedora", "rhel", "centos"},
     "sudo dnf install mpv-libs ffmpeg-libs",
     "sudo dnf install ffmpeg-libs",
     "https://rpmfusion.org/Configuration",
     "https://rpmfusion.org/Configuration"},
    {{"arch", "", ""},
     "sudo pacman -S mpv ffmpeg",
     "sudo pacman -S ffmpeg",
     "https://archlinux.org/packages/extra/x86_64/mpv/",
     "https://archlinux.org/packages/extra/x86_64/ffmpeg/"},
    {{"opensuse", "suse", ""},
     "sudo zypper install mpv ffmpeg",
     "sudo zypper install ffmpeg",
     "https://en.opensuse.org/SDB:Installing_codecs_from_Packman_repositories",
     "https://en.opensuse.org/SDB:Installing_codecs_from_Packman_repositories"},
}};

const Family* familyOf(const OsRelease& release) {
    const auto matches = [](const Family& family, const std::string& id) {
        if (id.empty()) return false;
        return std::any_of(family.ids.begin(), family.ids.end(), [&](std::string_view known) {
            // "opensuse-leap" and "opensuse-tumbleweed" are of the "opensuse" family.
            return !known.empty() && (id == known || id.rfind(std::string(known) + "-", 0) == 0);
        });
    };
    for (const Family& family : kFamilies)
        if (matches(family, release.id)) return &family;
    for (const std::string& like : release.idLike)
        for (const Family& family : kFamilies)
            if (matches(family, like)) return &family;
    return nullptr;
}

struct Otherwise {
    std::string_view install;
    std::string_view address;
};

InstallAdvice adviceFor(const OsRelease& release, std::string_view Family::*install, std::string_view Family::*address,
                        Otherwise otherwise) {
    const Family* family = familyOf(release);
    if (!family) return {release.prettyName, std::string(otherwise.install), std::string(otherwise.address)};
    return {release.prettyName, std::string(family->*install), std::string(family->*address)};
}

}  // namespace

OsRelease parseOsRelease(const std::string& text) {
    OsRelease release;
    std::string name;
    for (const std::string& line : splitTextLines(text)) {
        const std::string entry = trimmed(line);
        if (entry.empty() || entry.front() == '#') continue;
        const auto equals = entry.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = entry.substr(0, equals);
        const std::string value = unquoted(trimmed(std::string_view(entry).substr(equals + 1)));
        if (key == "ID") {
            release.id = lowerAscii(value);
        } else if (key == "ID_LIKE") {
            release.idLike.clear();
            std::string word;
            for (const char c : lowerAscii(value) + " ") {
                if (c != ' ' && c != '\t') word += c;
                else if (!word.empty()) release.idLike.push_back(std::exchange(word, {}));
            }
        } else if (key == "PRETTY_NAME") {
            release.prettyName = shownName(value);
        } else if (key == "NAME") {
            name = shownName(value);
        }
    }
    if (release.prettyName.empty()) release.prettyName = name.empty() ? "Linux" : name;
    return release;
}

InstallAdvice videoStackAdvice(const OsRelease& release) {
    return adviceFor(release, &Family::videoStack, &Family::videoStackAddress,
                     {"mpv (libmpv), FFmpeg (libavcodec)", "https://mpv.io/installation/"});
}

InstallAdvice mpeg4DecoderAdvice(const OsRelease& release) {
    return adviceFor(release, &Family::mpeg4Decoder, &Family::mpeg4DecoderAddress,
                     {"FFmpeg (libavcodec)", "https://ffmpeg.org/download.html"});
}

bool videoStackSufficient(const VideoEnvironment& environment) {
    return environment.playerLibraryInitialises() && environment.hasDecoder(VideoDecoder::Mpeg1) &&
           environment.hasDecoder(VideoDecoder::Mpeg2) && environment.hasDecoder(VideoDecoder::H264);
}

bool xvidDecoderPresent(const VideoEnvironment& environment) {
    return environment.hasDecoder(VideoDecoder::Mpeg4Part2);
}

bool uleadCodecsPresent(const VideoEnvironment& environment) {
    return environment.hasDecoder(VideoDecoder::Mpeg2);
}

std::vector<std::string> mpeg2FilterLogLines(const VideoEnvironment& environment) {
    std::vector<std::string> lines;
    if (!environment.hasDecoder(VideoDecoder::Mpeg2)) lines.emplace_back("Ulead ulodsmpeg.ax non installato");
    if (!environment.hasMpegProgramDemuxer()) lines.emplace_back("Ulead ulospmpeg.ax non installato");
    return lines;
}

std::string uleadCodecsLogLine(bool flag, const VideoEnvironment& environment) {
    return flag && !uleadCodecsPresent(environment) ? "Codec Ulead non presenti" : std::string();
}

}  // namespace corvane
