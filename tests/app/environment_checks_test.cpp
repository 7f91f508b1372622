#include "app/environment_checks.h"

#include <gtest/gtest.h>

#include "support/fake_video_environment.h"

namespace corvane {
namespace {

using testing::FakeVideoEnvironment;

TEST(VideoStackCheck, EachMissingPieceMakesTheStackInsufficient) {
    struct Case {
        const char* name;
        void (*breakIt)(FakeVideoEnvironment&);
        bool sufficient;
    };
    const Case cases[] = {
        {"whole stack", [](FakeVideoEnvironment&) {}, true},
        {"no MPEG-4 decoder is not needed", [](FakeVideoEnvironment& e) { e.decoders.erase(VideoDecoder::Mpeg4Part2); }, true},
        {"no program-stream demuxer is not asked", [](FakeVideoEnvironment& e) { e.programDemuxer = false; }, true},
        {"player library", [](FakeVideoEnvironment& e) { e.libraryInitialises = false; }, false},
        {"MPEG-1", [](FakeVideoEnvironment& e) { e.decoders.erase(VideoDecoder::Mpeg1); }, false},
        {"MPEG-2", [](FakeVideoEnvironment& e) { e.decoders.erase(VideoDecoder::Mpeg2); }, false},
        {"H.264", [](FakeVideoEnvironment& e) { e.decoders.erase(VideoDecoder::H264); }, false},
    };
    for (const Case& c : cases) {
        FakeVideoEnvironment environment;
        c.breakIt(environment);
        EXPECT_EQ(videoStackSufficient(environment), c.sufficient) << c.name;
    }
}

TEST(CodecChecks, XvidAndTheMpeg2PiecesAnswerToTheirOwnDecoderOrDemuxer) {
    FakeVideoEnvironment whole;
    EXPECT_TRUE(xvidDecoderPresent(whole));
    EXPECT_TRUE(mpeg2FilterLogLines(whole).empty());
    EXPECT_EQ(uleadCodecsLogLine(true, whole), "");

    FakeVideoEnvironment noMpeg4;
    noMpeg4.decoders.erase(VideoDecoder::Mpeg4Part2);
    EXPECT_FALSE(xvidDecoderPresent(noMpeg4));
    EXPECT_TRUE(mpeg2FilterLogLines(noMpeg4).empty());

    FakeVideoEnvironment noMpeg2;
    noMpeg2.decoders.erase(VideoDecoder::Mpeg2);
    EXPECT_TRUE(xvidDecoderPresent(noMpeg2));
    EXPECT_EQ(mpeg2FilterLogLines(noMpeg2), std::vector<std::string>{"Ulead ulodsmpeg.ax non installato"});
    EXPECT_EQ(uleadCodecsLogLine(true, noMpeg2), "Codec Ulead non presenti");
    EXPECT_EQ(uleadCodecsLogLine(false, noMpeg2), "");  // the option switched off checks nothing

    FakeVideoEnvironment noDemuxer;
    noDemuxer.programDemuxer = false;
    EXPECT_EQ(mpeg2FilterLogLines(noDemuxer), std::vector<std::string>{"Ulead ulospmpeg.ax non installato"});
    EXPECT_EQ(uleadCodecsLogLine(true, noDemuxer), "");

    noDemuxer.decoders.erase(VideoDecoder::Mpeg2);
    EXPECT_EQ(mpeg2FilterLogLines(noDemuxer), (std::vector<std::string>{"Ulead ulodsmpeg.ax non installato",
                                                                       "Ulead ulospmpeg.ax non installato"}));
}

TEST(OsReleaseFile, QuotingCommentsAndMissingNamesAreReadAsTheShellWould) {
    const OsRelease debian = parseOsRelease(
        "# comment\r\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\r\nNAME=\"Debian GNU/Linux\"\r\nID=debian\r\n");
    EXPECT_EQ(debian.id, "debian");
    EXPECT_EQ(debian.prettyName, "Debian GNU/Linux 12 (bookworm)");

    const OsRelease mint = parseOsRelease("NAME='Linux Mint'\nID=LinuxMint\nID_LIKE=\"ubuntu  debian\"\n");
    EXPECT_EQ(mint.id, "linuxmint");
    EXPECT_EQ(mint.idLike, (std::vector<std::string>{"ubuntu", "debian"}));
    EXPECT_EQ(mint.prettyName, "Linux Mint");  // NAME when PRETTY_NAME is absent

    EXPECT_EQ(parseOsRelease("PRETTY_NAME=\"A \\\"quoted\\\" name\"\n").prettyName, "A \"quoted\" name");
    EXPECT_EQ(parseOsRelease("").prettyName, "Linux");
    EXPECT_EQ(parseOsRelease("garbage without equals\n=\nID\n").id, "");

    // A name is only shown, but stays one line of reasonable length.
    const OsRelease odd = parseOsRelease("PRETTY_NAME=\"bell\x07\ttab" + std::string(500, 'x') + "\"\n");
    EXPECT_EQ(odd.prettyName.substr(0, 7), "belltab");
    EXPECT_EQ(odd.prettyName.size(), 80u);
}

TEST(InstallAdvice, TheDistributionFamilyChoosesTheCommandAndTheAddress) {
    struct Case {
        const char* osRelease;
        InstallAdvice videoStack;
        InstallAdvice mpeg4;
    };
    const InstallAdvice debian{"", "sudo apt install mpv libavcodec-extra", "https://packages.debian.org/stable/mpv"};
    const InstallAdvice debianMpeg4{"", "sudo apt install libavcodec-extra",
                                    "https://packages.debian.org/stable/libavcodec-extra"};
    const InstallAdvice fedora{"", "sudo dnf install mpv-libs ffmpeg-libs", "https://rpmfusion.org/Configuration"};
    const InstallAdvice fedoraMpeg4{"", "sudo dnf install ffmpeg-libs", "https://rpmfusion.org/Configuration"};
    const InstallAdvice other{"", "mpv (libmpv), FFmpeg (libavcodec)", "https://mpv.io/installation/"};
    const InstallAdvice otherMpeg4{"", "FFmpeg (libavcodec)", "https://ffmpeg.org/download.html"};
    const Case cases[] = {
        {"ID=debian", debian, debianMpeg4},
        {"ID=linuxmint\nID_LIKE=\"ubuntu debian\"", debian, debianMpeg4},
        {"ID=fedora", fedora, fedoraMpeg4},
        {"ID=rocky\nID_LIKE=\"rhel centos fedora\"", fedora, fedoraMpeg4},
        {"ID=manjaro\nID_LIKE=arch",
         {"", "sudo pacman -S mpv ffmpeg", "https://archlinux.org/packages/extra/x86_64/mpv/"},
         {"", "sudo pacman -S ffmpeg", "https://archlinux.org/packages/extra/x86_64/ffmpeg/"}},
        {"ID=opensuse-tumbleweed\nID_LIKE=\"opensuse suse\"",
         {"", "sudo zypper install mpv ffmpeg", "https://en.opensuse.org/SDB:Installing_codecs_from_Packman_repositories"},
         {"", "sudo zypper install ffmpeg", "https://en.opensuse.org/SDB:Installing_codecs_from_Packman_repositories"}},
        {"ID=debianish", other, otherMpeg4},
        {"", other, otherMpeg4},
    };
    for (const Case& c : cases) {
        const OsRelease release = parseOsRelease(c.osRelease);
        const InstallAdvice videoStack = videoStackAdvice(release);
        const InstallAdvice mpeg4 = mpeg4DecoderAdvice(release);
        EXPECT_EQ(videoStack.install, c.videoStack.install) << c.osRelease;
        EXPECT_EQ(videoStack.address, c.videoStack.address) << c.osRelease;
        EXPECT_EQ(mpeg4.install, c.mpeg4.install) << c.osRelease;
        EXPECT_EQ(mpeg4.address, c.mpeg4.address) << c.osRelease;
    }
}

TEST(InstallAdvice, TheAddressNeverComesFromTheFile) {
    const OsRelease release = parseOsRelease("ID=other\nHOME_URL=\"file:///etc/passwd\"\nPRETTY_NAME=Other\n");
    EXPECT_EQ(videoStackAdvice(release).address, "https://mpv.io/installation/");
    EXPECT_EQ(videoStackAdvice(release).distribution, "Other");
}

}  // namespace
}  // namespace corvane
