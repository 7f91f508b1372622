// The settings file is the one file the player rewrites again and again: a kill in the middle of
// a write must leave it whole. A process of its own, without the window's threads, so that a
// forked writer cannot stop on a lock another thread held.

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <random>
#include <string>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/files.h"
#include "core/settings.h"
#include "core/text.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using testing::TempFolder;

// The keys and values of the [Player] section, as any INI reader would take them.
std::map<std::string, std::string> playerSection(const std::string& text) {
    std::map<std::string, std::string> values;
    bool inPlayer = false;
    for (const std::string& line : splitTextLines(text)) {
        const std::string_view trimmed = trimBlanks(line);
        if (trimmed.starts_with('[')) {
            inPlayer = trimmed == "[Player]";
            continue;
        }
        const auto equals = trimmed.find('=');
        if (inPlayer && equals != std::string_view::npos)
            values[std::string(trimmed.substr(0, equals))] = std::string(trimmed.substr(equals + 1));
    }
    return values;
}

TEST(SettingsFile, SurvivesAKillInTheMiddleOfAWrite) {
    TempFolder documents;
    const auto file = settingsFilePath(documents.path());
    const std::string sport = "1";
    const Settings settings(file, sport);
    // Every key stored; the sport-dependent ones are stored only once written.
    for (int key = UtilizzaCodec; key <= CloseStatistics; ++key) settings.write(key, settings.read(key));
    const std::map<std::string, std::string> initial = playerSection(testing::readFile(file));
    ASSERT_EQ(initial.size(), 9u);

    std::mt19937 random(20261210);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Rewrites the file without end, each value a long one so a write takes a while.
            for (long n = 0;; ++n) {
                settings.write(SecAnticipoAzione, std::to_string(n % 10));
                settings.write(SecAnticipoFineAzione, std::string(4000, static_cast<char>('0' + n % 10)));
            }
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(2'000, 40'000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::map<std::string, std::string> values = playerSection(testing::readFile(file));
        ASSERT_EQ(values.size(), initial.size()) << "round " << round;
        for (const auto& [name, value] : initial) {
            ASSERT_TRUE(values.contains(name)) << name << ", round " << round;
            if (name == settingKeyName(SecAnticipoAzione))
                EXPECT_TRUE(value.size() == 1 && std::isdigit(static_cast<unsigned char>(values.at(name)[0])));
            else if (name == settingKeyName(SecAnticipoFineAzione))
                EXPECT_TRUE(values.at(name) == value || (values.at(name).size() == 4000 &&
                            values.at(name).find_first_not_of(values.at(name)[0]) == std::string::npos))
                    << "round " << round;
            else
                EXPECT_EQ(values.at(name), value) << name << ", round " << round;
        }
    }
}

}  // namespace
}  // namespace corvane
