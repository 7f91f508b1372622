#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/player/filter_graph.h"
#include "app/player/frame_buffer.h"
#include "app/player/mpv_library.h"
#include "app/player/seek_queue.h"

class QEventLoop;

namespace corvane {

class MpvSession;

// The media player control: decodes a film with libmpv and draws it into a widget, its own or
// the one given as WinHandle. Every call returns at once; only Open waits, processing events,
// until the film is shown or refused. Instances are independent of each other.
class TPlayer : public QWidget {
    Q_OBJECT

public:
    enum StateValue : int {
        NoFilm = 0,   // nothing open (before the first Open, after CloseFile, after a refused film)
        Ready = 1,    // open and not playing
        Playing = 2,
        Busy = 4,     // a film is being opened or closed
    };

    struct Config {
        // mpv's audio output; empty takes $CORVANE_AUDIO_OUTPUT, else mpv's own choice, which
        // falls back to none on a machine without sound.
        std::string audioOutput;
        int openTimeoutMs = 15000;
        int seekTimeoutMs = 5000;
    };

    explicit TPlayer(QWidget* parent = nullptr);
    TPlayer(QWidget* parent, Config config);
    ~TPlayer() override;

    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }

    double Rate() const { return speed_.value; }
    void SetRate(double rate);

    QWidget* WinHandle() const { return target_; }
    void SetWinHandle(QWidget* window);

    int VideoWidth() const { return videoWidth_; }
    int VideoHeight() const { return videoHeight_; }
    void SetVideoWidth(int width);
    void SetVideoHeight(int height);

    bool Audio() const;
    void SetAudio(bool on);
    // The sound switched off, whether or not the film has any.
    bool muted() const { return muted_.value; }

    // Demuxer, decoders and the graph's options as the player took them; refused lines noted.
    std::string Filters() const { return filters_; }
    const std::string& Filtro() const { return filtro_; }
    void SetFiltro(std::string filtro) { filtro_ = filtro.empty() ? "x" : std::move(filtro); }

    bool Open();
    bool CloseFile();
    int State() const;
    bool Play();
    bool Pause();
    bool Stop();  // pauses and goes back to the start
    // Exact: shows the first frame at or after the second, kept within the film. Seeks asked
    // for while one is under way wait, and only the newest of them runs.
    bool Seek(float seconds);
    // The key frame nearest before the second: quick, for a picture that follows a dragged bar.
    bool SeekKeyFrame(float seconds);
    // Seconds from the film's first picture; while a seek is under way, its target.
    double Position() const;
    double Duration() const;
    bool StepFrame();
    // Seconds from one picture of the open film to the next (0.04 until the film says).
    double frameDuration() const { return frameDuration_; }
    bool SetDisplayWidth(int width);
    int NativeWidth() const { return nativeWidth_; }
    int NativeHeight() const { return nativeHeight_; }
    bool RefreshWindow();
    // Stands in for the old graphics-runtime version check: 9.0 when the player library runs,
    // 0 when it cannot be loaded or started.
    double DirectXVersion() const;

    bool available() const;
    const std::string& lastError() const { return error_; }
    // The last drawn picture in device pixels. It shares the player's buffer: keep a deep copy
    // (QImage::copy), not the image itself, beyond the next draw or resize.
    const QImage& currentFrame() const { return frame_.image(); }
    std::uint64_t framesDrawn() const { return framesDrawn_; }
    bool seeking() const { return seeks_.busy() || landing_.has_value(); }

Q_SIGNALS:
    void frameDrawn();
    // The newest seek has landed; a seek overtaken by a newer one is not reported.
    void seekFinished(double target);
    // The open film can no longer be played (cut short, unreadable); it has been closed.
    void filmLost(const QString& reason);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Phase { Empty, Opening, Open, Closing };

    template <typename T>
    struct Mirrored {  // a property we write: our value stands until mpv has answered every write
        T value{};
        int pendingWrites = 0;
        void wrote(T written) {
            value = written;
            ++pendingWrites;
        }
        bool replied() {  // true when the settled value should now be asked for
            if (pendingWrites > 0) --pendingWrites;
            return pendingWrites == 0;
        }
        void observed(T seen) {
            if (pendingWrites == 0) value = seen;
        }
    };

    struct Opening {
        std::uint64_t loadId = 0;
        bool withGraph = false;
        bool loaded = false;
        bool restarted = false;
        bool drawn = false;
        bool originKnown = false;
        bool failed = false;
    };

    static void onWakeup(void* context);
    static void onRenderUpdate(void* context);

    void startSession();
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void handleReply(const mpv_event& event);
    void handlePropertyChange(std::uint64_t id, const mpv_event_property& property);
    void handleEndFile(const mpv_event_end_file& end);
    void handleSeekStep(const SeekQueue::Step& step);
    bool landedLate(double target) const;
    void sendLoad(bool withGraph);
    bool seekTo(float seconds, bool exact);
    void sendSeek(const SeekQueue::Command& command);
    void abandonSeek();
    void askFilmFacts();
    void describeFilters();
    void seekLanded(double target, double position);
    void resetFilm();
    bool openFinished() const;
    void checkFilmWhole();
    static std::optional<std::filesystem::path> absoluteFilmPath(const std::string& fileName);
    static std::uintmax_t filmSize(const std::filesystem::path& film);
    void wakeWaiter();
    bool waitUntil(const std::function<bool()>& done, int timeoutMs);

    void drawFrame();
    void takeDefaultDisplaySize();
    bool resizeFrame();  // true when the size changed
    void paintPicture(QWidget* window);
    double displayAspect() const;

    Config config_;
    MpvLibrary library_;
    std::unique_ptr<MpvSession> session_;
    std::string error_;
    std::atomic<bool> eventsPosted_{false};
    std::atomic<bool> renderPosted_{false};
    std::uint64_t nextRequest_ = 1;

    std::string fileName_;
    std::filesystem::path filmPath_;  // the open film, absolute
    std::uintmax_t openedSize_ = 0;
    std::string filtro_ = "x";
    std::string filters_;
    FilterGraph graph_;
    std::vector<std::pair<std::string, std::string>> facts_;  // what Filters reports, asked at loading
    int pendingFacts_ = 0;
    QPointer<QWidget> target_;

    Phase phase_ = Phase::Empty;
    Opening opening_;
    std::int64_t entry_ = -1;  // mpv's playlist entry of the film being opened or shown
    QEventLoop* waitLoop_ = nullptr;

    double duration_ = 0;
    double timePos_ = 0;   // mpv's clock, which starts at the film's first packet
    double origin_ = 0;    // the first picture on mpv's clock: positions count from here
    double frameDuration_ = 0.04;
    int nativeWidth_ = 0;
    int nativeHeight_ = 0;
    int displayWidth_ = 0;   // the film's display size, after its aspect
    int displayHeight_ = 0;
    bool hasAudio_ = false;
    bool hasVideo_ = false;
    bool eof_ = false;
    Mirrored<bool> paused_{true};
    Mirrored<bool> muted_{false};
    Mirrored<double> speed_{1.0};

    SeekQueue seeks_;
    std::optional<double> landing_;  // a finished seek whose landing position is being asked
    std::uint64_t landingSerial_ = 0;
    QTimer seekWatchdog_;
    bool correctingSeek_ = false;
    bool sentExact_ = true;  // whether the seek last sent was exact
    int demuxerOffset_ = 1;

    int videoWidth_ = 0;
    int videoHeight_ = 0;
    bool displaySizeChosen_ = false;
    FrameBuffer frame_;
    bool frameAvailable_ = false;  // mpv has a picture of the current film to draw
    std::uint64_t framesDrawn_ = 0;
};

}  // namespace corvane
