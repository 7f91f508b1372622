#include "support/test_support.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvane::testing {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "corvane-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code error;
    // Read-only folders made by a test must not survive it.
    for (auto it = fs::recursive_directory_iterator(path_, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(path_, error);
}

fs::path TempFolder::write(const std::string& name, const std::string& content) const {
    const fs::path file = path_ / name;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << content;
    return file;
}

CatalogueMessages::CatalogueMessages(const std::string& texts, int languageNumber) : language(languageNumber) {
    system.write("Messages" + std::to_string(languageNumber) + ".txt", texts);
}

namespace {
constexpr uid_t kNobody = 65534;
}

bool holdsAsOrdinaryUser(const std::function<bool()>& check) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("cannot fork");
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(3);
        const bool held = check();
        std::fflush(nullptr);
        ::_exit(held ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void handToOrdinaryUser(const fs::path& path) {
    if (::geteuid() != 0) return;
    std::error_code error;
    ::lchown(path.c_str(), kNobody, kNobody);
    if (!fs::is_directory(fs::symlink_status(path, error))) return;
    for (auto it = fs::recursive_directory_iterator(path, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        ::lchown(it->path().c_str(), kNobody, kNobody);
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

fs::path fixture(const std::string& name) { return fs::path(CORVANE_FIXTURES) / name; }

}  // namespace corvane::testing
