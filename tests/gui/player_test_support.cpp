#include "gui/player_test_support.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace corvane::testing {

namespace {

const std::filesystem::path kTool = std::filesystem::path(CORVANE_SOURCE_DIR) / "tools" / "make_film.sh";

class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& file) : descriptor_(::open(file.c_str(), O_CREAT | O_RDWR, 0644)) {
        if (descriptor_ >= 0) ::flock(descriptor_, LOCK_EX);
    }
    ~FolderLock() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int descriptor_;
};

bool upToDate(const std::filesystem::path& film) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(film, error)) return false;
    return std::filesystem::last_write_time(film, error) >= std::filesystem::last_write_time(kTool, error);
}

}  // namespace

const TestFilm& mpeg2Film() {
    static const TestFilm film{"mpeg2_720x576.mpg", "--codec mpeg2 --size 720x576 --seconds 60 --audio", 720, 576,
                               60, true};
    return film;
}

const TestFilm& mpeg1Film() {
    static const TestFilm film{"mpeg1_352x288.mpg", "--codec mpeg1 --size 352x288 --seconds 60", 352, 288, 60, false};
    return film;
}

const TestFilm& h264Film() {
    static const TestFilm film{"h264_1280x720.mp4", "--codec h264 --size 1280x720 --seconds 60 --gop 250", 1280, 720,
                               60, false};
    return film;
}

std::filesystem::path scratchFolder() {
    const std::filesystem::path folder = std::filesystem::path(CORVANE_FILMS_DIR);
    std::filesystem::create_directories(folder);
    return folder;
}

std::filesystem::path filmPath(const TestFilm& film) {
    const std::filesystem::path folder = scratchFolder();
    const std::filesystem::path path = folder / film.name;
    const FolderLock lock(folder / ".lock");
    if (!upToDate(path)) {
        const std::string command = "'" + kTool.string() + "' '" + path.string() + "' " + film.makeArguments;
        if (std::system(command.c_str()) != 0 || !upToDate(path))
            throw std::runtime_error("cannot make the test film " + path.string());
    }
    return path;
}

std::filesystem::path makeGreyMjpegFilm(const std::filesystem::path& out, int width, int height, int frames) {
    const std::string command = "ffmpeg -nostdin -v error -y -f lavfi -i color=c=gray:s=" + std::to_string(width) +
                                "x" + std::to_string(height) + ":r=25,format=yuvj420p -frames:v " +
                                std::to_string(frames) + " -c:v mjpeg '" + out.string() + "'";
    if (std::system(command.c_str()) != 0 || !std::filesystem::is_regular_file(out))
        throw std::runtime_error("cannot make the test film " + out.string());
    return out;
}

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::usleep(500);
    }
    return true;
}

std::optional<FrameStamp> stampOf(const QImage& image) {
    if (image.isNull()) return std::nullopt;
    const QImage picture = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    return readFrameStamp(picture.constBits(), picture.width(), picture.height(),
                          static_cast<int>(picture.bytesPerLine()), PixelFormat::Bgra);
}

}  // namespace corvane::testing
