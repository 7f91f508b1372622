#include "app/player/tplayer.h"

#include <QEventLoop>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "app/player/mpv_session.h"
#include "app/player/video_info.h"

namespace corvane {

namespace {

// reply_userdata: the kind of request in the top byte, a serial number below.
enum class Request : std::uint64_t {
    Load = 1,
    Seek,
    SetPause,
    SetMute,
    SetSpeed,
    AskPause,
    AskMute,
    AskSpeed,
    Plain,
    Observe,
    AskOrigin,
    AskLanding,
    AskFact,
};

enum class Observed : std::uint64_t {
    TimePos = 1,
    Duration,
    Pause,
    Mute,
    Speed,
    TrackList,
    Width,
    Height,
    DisplayWidth,
    DisplayHeight,
    ContainerFps,
    EofReached,
    IdleActive,
};

constexpr int kKindShift = 56;
constexpr std::uint64_t kSerialMask = (std::uint64_t{1} << kKindShift) - 1;
constexpr int kEventsPerDrain = 500;
constexpr int kMaxDemuxerOffset = 4;
constexpr std::uint64_t kFactsPerLoad = 64;
constexpr double kEarlyEndSeconds = 1.0;

std::uint64_t tag(Request kind, std::uint64_t serial) {
    return (static_cast<std::uint64_t>(kind) << kKindShift) | (serial & kSerialMask);
}
Request kindOf(std::uint64_t reply) { return static_cast<Request>(reply >> kKindShift); }
std::uint64_t serialOf(std::uint64_t reply) { return reply & kSerialMask; }

std::string secondsText(double seconds) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

std::string configuredAudioOutput(const TPlayer::Config& config) {
    if (!config.audioOutput.empty()) return config.audioOutput;
    const char* fromEnvironment = std::getenv("CORVANE_AUDIO_OUTPUT");
    return fromEnvironment ? fromEnvironment : "";
}

struct TrackKinds {
    bool audio = false;
    bool video = false;
};

TrackKinds trackKinds(const mpv_node& trackList) {
    TrackKinds kinds;
    if (trackList.format != MPV_FORMAT_NODE_ARRAY || !trackList.u.list) return kinds;
    for (int i = 0; i < trackList.u.list->num; ++i) {
        const mpv_node& track = trackList.u.list->values[i];
        if (track.format != MPV_FORMAT_NODE_MAP || !track.u.list) continue;
        for (int k = 0; k < track.u.list->num; ++k) {
            const mpv_node& value = track.u.list->values[k];
            if (std::string_view(track.u.list->keys[k]) != "type" || value.format != MPV_FORMAT_STRING) continue;
            const std::string_view type(value.u.string);
            if (type == "audio") kinds.audio = true;
            if (type == "video") kinds.video = true;
        }
    }
    return kinds;
}

}  // namespace

TPlayer::TPlayer(QWidget* parent) : TPlayer(parent, Config{}) {}

TPlayer::TPlayer(QWidget* parent, Config config) : QWidget(parent), config_(std::move(config)) {
    // libmpv refuses to start under a numeric locale other than "C".
    std::setlocale(LC_NUMERIC, "C");
    setAttribute(Qt::WA_OpaquePaintEvent);
    target_ = this;
    seekWatchdog_.setSingleShot(true);
    connect(&seekWatchdog_, &QTimer::timeout, this, [this] { abandonSeek(); });
    startSession();
}

TPlayer::~TPlayer() {
    if (waitLoop_) waitLoop_->quit();
    if (target_ && target_ != this) target_->removeEventFilter(this);
    // The session goes first: after it no mpv thread calls back into this object.
    session_.reset();
}

void TPlayer::startSession() {
    if (!library_.loaded()) {
        error_ = library_.error();
        return;
    }
    session_ = std::make_unique<MpvSession>(library_);
    const std::pair<const char*, std::string> options[] = {
        {"vo", "libmpv"},
        {"keep-open", "yes"},
        {"pause", "yes"},
        {"idle", "yes"},
        {"hr-seek", "yes"},
        // Exact seeks in MPEG program streams land late without it.
        {"hr-seek-demuxer-offset", std::to_string(demuxerOffset_)},
        {"audio-fallback-to-null", "yes"},
        // At any speed but normal the sound keeps its pitch (mpv puts its scaletempo filter in).
        {"audio-pitch-correction", "yes"},
        {"hwdec", "no"},
        // The probe refuses a film beyond the film limits; this holds a stream whose pictures grow
        // after its first ones (or whose headers lied) to the same bound in the decoder itself.
        {"vd-lavc-o", "max_pixels=" + std::to_string(kDecoderMaxPixels)},
        {"terminal", "no"},
        {"config", "no"},
        {"load-scripts", "no"},
        {"osc", "no"},
        {"ytdl", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"osd-level", "0"},
        {"audio-display", "no"},
        {"sub-auto", "no"},
        {"audio-file-auto", "no"},
        {"rebase-start-time", "yes"},
        // A film is one file: what it names inside (playlist entries, references) is not followed.
        {"access-references", "no"},
        {"load-unsafe-playlists", "no"},
    };
    for (const auto& [name, value] : options) session_->setOption(name, value);
    const std::string audioOutput = configuredAudioOutput(config_);
    if (!audioOutput.empty()) session_->setOption("ao", audioOutput);
    if (!session_->start(&TPlayer::onWakeup, &TPlayer::onRenderUpdate, this)) {
        error_ = session_->error();
        session_.reset();
        return;
    }
    const std::pair<Observed, std::pair<const char*, mpv_format>> observed[] = {
        {Observed::TimePos, {"time-pos", MPV_FORMAT_DOUBLE}},
        {Observed::Duration, {"duration", MPV_FORMAT_DOUBLE}},
        {Observed::Pause, {"pause", MPV_FORMAT_FLAG}},
        {Observed::Mute, {"mute", MPV_FORMAT_FLAG}},
        {Observed::Speed, {"speed", MPV_FORMAT_DOUBLE}},
        {Observed::TrackList, {"track-list", MPV_FORMAT_NODE}},
        {Observed::Width, {"width", MPV_FORMAT_INT64}},
        {Observed::Height, {"height", MPV_FORMAT_INT64}},
        {Observed::DisplayWidth, {"dwidth", MPV_FORMAT_INT64}},
        {Observed::DisplayHeight, {"dheight", MPV_FORMAT_INT64}},
        {Observed::ContainerFps, {"container-fps", MPV_FORMAT_DOUBLE}},
        {Observed::EofReached, {"eof-reached", MPV_FORMAT_FLAG}},
        {Observed::IdleActive, {"idle-active", MPV_FORMAT_FLAG}},
    };
    for (const auto& [id, property] : observed)
        session_->observe(tag(Request::Observe, static_cast<std::uint64_t>(id)), property.first, property.second);
}

bool TPlayer::available() const { return session_ != nullptr; }

double TPlayer::DirectXVersion() const { return available() ? 9.0 : 0.0; }

// ---- mpv's threads hand over to the user-interface thread ------------------------------------

void TPlayer::onWakeup(void* context) {
    auto* player = static_cast<TPlayer*>(context);
    if (player->eventsPosted_.exchange(true)) return;
    QMetaObject::invokeMethod(player, [player] { player->drainEvents(); }, Qt::QueuedConnection);
}

void TPlayer::onRenderUpdate(void* context) {
    auto* player = static_cast<TPlayer*>(context);
    if (player->renderPosted_.exchange(true)) return;
    QMetaObject::invokeMethod(
        player,
        [player] {
            player->renderPosted_ = false;
            if (player->session_ && (player->session_->renderUpdate() & MPV_RENDER_UPDATE_FRAME)) {
                player->frameAvailable_ = true;
                player->drawFrame();
            }
        },
        Qt::QueuedConnection);
}

void TPlayer::drainEvents() {
    eventsPosted_ = false;
    if (!session_) return;
    for (int handled = 0; handled < kEventsPerDrain; ++handled) {
        const mpv_event& event = session_->nextEvent();
        if (event.event_id == MPV_EVENT_NONE) return;
        handleEvent(event);
        if (!session_) return;
    }
    // A flood: let other work run, then go on.
    onWakeup(this);
}

void TPlayer::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
        case MPV_EVENT_COMMAND_REPLY:
        case MPV_EVENT_SET_PROPERTY_REPLY:
        case MPV_EVENT_GET_PROPERTY_REPLY: handleReply(event); break;
        case MPV_EVENT_PROPERTY_CHANGE:
            if (kindOf(event.reply_userdata) == Request::Observe)
                handlePropertyChange(serialOf(event.reply_userdata), *static_cast<mpv_event_property*>(event.data));
            break;
        case MPV_EVENT_START_FILE:
            if (phase_ == Phase::Opening && entry_ < 0)
                entry_ = static_cast<mpv_event_start_file*>(event.data)->playlist_entry_id;
            break;
        case MPV_EVENT_FILE_LOADED:
            if (phase_ == Phase::Opening) {
                askFilmFacts();
                opening_.loaded = true;
                wakeWaiter();
            }
            break;
        case MPV_EVENT_END_FILE: handleEndFile(*static_cast<mpv_event_end_file*>(event.data)); break;
        case MPV_EVENT_SEEK: seeks_.seekStarted(); break;
        case MPV_EVENT_PLAYBACK_RESTART:
            if (phase_ == Phase::Opening && opening_.loaded && !opening_.restarted) {
                // The first picture is on: positions count from it.
                opening_.restarted = true;
                if (!session_->requestAsync(tag(Request::AskOrigin, opening_.loadId), "time-pos", MPV_FORMAT_DOUBLE))
                    opening_.originKnown = true;
                wakeWaiter();
            }
            handleSeekStep(seeks_.restarted());
            break;
        case MPV_EVENT_SHUTDOWN:
            error_ = "the player core shut down";
            phase_ = Phase::Empty;
            seeks_.clear();
            wakeWaiter();
            break;
        default: break;
    }
}

void TPlayer::handleReply(const mpv_event& event) {
    const bool accepted = event.error >= 0;
    const std::uint64_t serial = serialOf(event.reply_userdata);
    switch (kindOf(event.reply_userdata)) {
        case Request::Load:
            if (phase_ != Phase::Opening || serial != opening_.loadId || accepted) break;
            opening_.failed = true;
            wakeWaiter();
            break;
        case Request::Seek: handleSeekStep(seeks_.replied(serial, accepted)); break;
        case Request::SetPause:
            if (paused_.replied()) session_->requestAsync(tag(Request::AskPause, 0), "pause", MPV_FORMAT_FLAG);
            break;
        case Request::SetMute:
            if (muted_.replied()) session_->requestAsync(tag(Request::AskMute, 0), "mute", MPV_FORMAT_FLAG);
            break;
        case Request::SetSpeed:
            if (speed_.replied()) session_->requestAsync(tag(Request::AskSpeed, 0), "speed", MPV_FORMAT_DOUBLE);
            break;
        case Request::AskOrigin: {
            if (phase_ != Phase::Opening || serial != opening_.loadId) break;
            const auto* property = static_cast<mpv_event_property*>(event.data);
            if (accepted && property && property->format == MPV_FORMAT_DOUBLE)
                origin_ = std::max(0.0, *static_cast<double*>(property->data));
            opening_.originKnown = true;
            wakeWaiter();
            break;
        }
        case Request::AskLanding: {
            if (!landing_ || serial != landingSerial_) break;
            const auto* property = static_cast<mpv_event_property*>(event.data);
            const bool known = accepted && property && property->format == MPV_FORMAT_DOUBLE;
            seekLanded(*landing_, known ? *static_cast<double*>(property->data) : timePos_);
            break;
        }
        case Request::AskFact: {
            const std::uint64_t index = serial % kFactsPerLoad;
            if (serial / kFactsPerLoad != opening_.loadId || index >= facts_.size()) break;
            const auto* property = static_cast<mpv_event_property*>(event.data);
            if (accepted && property && property->format == MPV_FORMAT_STRING)
                facts_[index].second = *static_cast<char**>(property->data);
            if (pendingFacts_ > 0) --pendingFacts_;
            wakeWaiter();
            break;
        }
        case Request::AskPause:
        case Request::AskMute:
        case Request::AskSpeed: {
            const auto* property = static_cast<mpv_event_property*>(event.data);
            if (!accepted || !property || !property->data) break;
            if (kindOf(event.reply_userdata) == Request::AskSpeed)
                speed_.observed(*static_cast<double*>(property->data));
            else if (kindOf(event.reply_userdata) == Request::AskPause)
                paused_.observed(*static_cast<int*>(property->data) != 0);
            else
                muted_.observed(*static_cast<int*>(property->data) != 0);
            break;
        }
        default: break;
    }
}

void TPlayer::handlePropertyChange(std::uint64_t id, const mpv_event_property& property) {
    const bool present = property.format != MPV_FORMAT_NONE && property.data;
    const auto asDouble = [&] { return present ? *static_cast<double*>(property.data) : 0.0; };
    const auto asInt = [&] { return present ? static_cast<int>(*static_cast<std::int64_t*>(property.data)) : 0; };
    const auto asFlag = [&] { return present && *static_cast<int*>(property.data) != 0; };
    switch (static_cast<Observed>(id)) {
        case Observed::TimePos:
            if (present) timePos_ = asDouble();
            break;
        case Observed::Duration: duration_ = asDouble(); break;
        case Observed::Pause: paused_.observed(present ? asFlag() : true); break;
        case Observed::Mute: muted_.observed(asFlag()); break;
        case Observed::Speed:
            if (present) speed_.observed(asDouble());
            break;
        case Observed::TrackList: {
            const TrackKinds kinds = present ? trackKinds(*static_cast<mpv_node*>(property.data)) : TrackKinds{};
            hasAudio_ = kinds.audio;
            hasVideo_ = kinds.video;
            break;
        }
        case Observed::Width: nativeWidth_ = asInt(); break;
        case Observed::Height: nativeHeight_ = asInt(); break;
        case Observed::DisplayWidth:
            displayWidth_ = asInt();
            takeDefaultDisplaySize();
            break;
        case Observed::DisplayHeight:
            displayHeight_ = asInt();
            takeDefaultDisplaySize();
            break;
        case Observed::ContainerFps:
            if (present && asDouble() > 1) frameDuration_ = 1.0 / asDouble();
            break;
        case Observed::EofReached:
            eof_ = asFlag();
            if (eof_) checkFilmWhole();
            break;
        case Observed::IdleActive:
            if (asFlag() && phase_ == Phase::Closing) phase_ = Phase::Empty;
            break;
    }
}

void TPlayer::handleEndFile(const mpv_event_end_file& end) {
    if (end.playlist_entry_id != entry_) return;
    if (phase_ == Phase::Opening) {
        opening_.failed = true;
        wakeWaiter();
        return;
    }
    entry_ = -1;
    seeks_.clear();
    seekWatchdog_.stop();
    if (phase_ == Phase::Closing || phase_ == Phase::Open) phase_ = Phase::Empty;
}

// ---- opening and closing ---------------------------------------------------------------------

bool TPlayer::Open() {
    if (!session_ || phase_ == Phase::Opening) return false;
    const std::optional<std::filesystem::path> film = absoluteFilmPath(fileName_);
    if (!film) {
        error_ = "no such film: " + fileName_;
        return false;
    }
    drainEvents();
    filmPath_ = *film;
    openedSize_ = filmSize(filmPath_);
    resetFilm();
    phase_ = Phase::Opening;
    opening_ = {};
    entry_ = -1;
    graph_ = readFilterGraph(filtro_);
    // A film always starts paused and with its sound on, whatever the previous one was doing.
    paused_.wrote(true);
    session_->setFlagAsync(tag(Request::SetPause, 0), "pause", true);
    muted_.wrote(false);
    session_->setFlagAsync(tag(Request::SetMute, 0), "mute", false);
    sendLoad(!graph_.options.empty());

    const QPointer<TPlayer> self(this);
    waitUntil([this] { return openFinished(); }, config_.openTimeoutMs);
    if (!self) return false;
    if (!opening_.failed && phase_ == Phase::Opening && opening_.loaded) {
        // A film whose first picture is late is still open: the picture follows.
        phase_ = Phase::Open;
        describeFilters();
        return true;
    }
    if (phase_ == Phase::Opening) {
        session_->commandAsync(tag(Request::Plain, 0), {"stop"});
        phase_ = Phase::Empty;
        entry_ = -1;
    }
    error_ = opening_.failed ? "the player cannot play " + filmPath_.string()
                               : "no picture of " + filmPath_.string() + " in time";
    resetFilm();
    return false;
}

std::optional<std::filesystem::path> TPlayer::absoluteFilmPath(const std::string& fileName) {
    std::error_code error;
    if (fileName.empty() || !std::filesystem::is_regular_file(fileName, error)) return std::nullopt;
    // Absolute, so the player never takes a name for a protocol ("av://", "http://", ...).
    std::filesystem::path film = std::filesystem::absolute(fileName, error).lexically_normal();
    if (error || !film.is_absolute()) return std::nullopt;
    return film;
}

std::uintmax_t TPlayer::filmSize(const std::filesystem::path& film) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(film, error);
    return error ? 0 : size;
}

// The player stops at the end of what it can read. Before the film's length, or on a file that
// has shrunk since it was opened, the film is gone: it is closed and reported, never left frozen.
void TPlayer::checkFilmWhole() {
    if (phase_ != Phase::Open || seeks_.busy()) return;
    const bool shrunk = filmSize(filmPath_) < openedSize_ && std::filesystem::exists(filmPath_);
    const bool endedEarly = Duration() > 0 && Position() < Duration() - kEarlyEndSeconds;
    if (!shrunk && !endedEarly) return;
    error_ = (shrunk ? "the film was cut short while open: " : "the film ends before its length: ") +
             filmPath_.string();
    // Closed at once rather than through the busy closing state: the window must take the next
    // film the user picks, and the lost film's own end is no longer ours to wait for.
    session_->commandAsync(tag(Request::Plain, 0), {"stop"});
    phase_ = Phase::Empty;
    entry_ = -1;
    resetFilm();
    // Reported from the event loop, not from inside the player's event handling: the report may
    // show a modal box.
    const QString reason = QString::fromStdString(error_);
    QMetaObject::invokeMethod(this, [this, reason] { Q_EMIT filmLost(reason); }, Qt::QueuedConnection);
}

void TPlayer::sendLoad(bool withGraph) {
    opening_.loadId = nextRequest_++;
    opening_.withGraph = withGraph;
    std::vector<std::string> arguments = {"loadfile", filmPath_.string(), "replace"};
    if (withGraph) arguments.push_back(perFileOptionList(graph_.options));
    if (!session_->commandAsync(tag(Request::Load, opening_.loadId), arguments)) opening_.failed = true;
}

bool TPlayer::openFinished() const {
    if (phase_ != Phase::Opening || opening_.failed) return true;
    return opening_.loaded && opening_.restarted && opening_.originKnown && pendingFacts_ == 0 &&
           (opening_.drawn || !hasVideo_);
}

bool TPlayer::CloseFile() {
    if (!session_) return false;
    if (phase_ == Phase::Open || phase_ == Phase::Opening) {
        phase_ = Phase::Closing;
        session_->commandAsync(tag(Request::Plain, 0), {"stop"});
        wakeWaiter();
    }
    resetFilm();
    return true;
}

void TPlayer::resetFilm() {
    duration_ = 0;
    timePos_ = 0;
    origin_ = 0;
    nativeWidth_ = nativeHeight_ = 0;
    displayWidth_ = displayHeight_ = 0;
    hasAudio_ = hasVideo_ = eof_ = false;
    frameDuration_ = 0.04;
    seeks_.clear();
    seekWatchdog_.stop();
    correctingSeek_ = false;
    landing_.reset();
    filters_.clear();
    facts_.clear();
    pendingFacts_ = 0;
    frameAvailable_ = false;
    frame_.clear();
    if (target_) target_->update();
}

// Every question to the player is asked, never read in place: a blocking read could wait for the
// player, which may itself be waiting for this thread to draw its picture.
void TPlayer::askFilmFacts() {
    facts_.clear();
    pendingFacts_ = 0;
    std::vector<std::string> names = {"file-format", "current-tracks/video/codec", "current-tracks/audio/codec"};
    if (opening_.withGraph)
        for (const PlayerOption& option : graph_.options) names.push_back(option.name);
    for (const std::string& name : names) {
        if (facts_.size() >= kFactsPerLoad) break;
        const std::uint64_t serial = opening_.loadId * kFactsPerLoad + facts_.size();
        facts_.emplace_back(name, "");
        if (session_->requestAsync(tag(Request::AskFact, serial), name.c_str(), MPV_FORMAT_STRING)) ++pendingFacts_;
    }
}

void TPlayer::describeFilters() {
    const auto fact = [this](std::string_view name) {
        for (const auto& [factName, value] : facts_)
            if (factName == name) return value;
        return std::string();
    };
    std::string text = "demuxer " + fact("file-format");
    const std::string video = fact("current-tracks/video/codec");
    const std::string audio = fact("current-tracks/audio/codec");
    if (!video.empty()) text += "; video " + video;
    if (!audio.empty()) text += "; audio " + audio;
    if (filtro_ != "x") {
        text += "; graph " + std::filesystem::path(filtro_).filename().string();
        // What the player took: a value it could not parse leaves its default. Filter chains
        // come back rewritten, other values as written.
        if (opening_.withGraph)
            for (const PlayerOption& option : graph_.options) {
                const std::string taken = fact(option.name);
                text += " " + option.name + "=" + taken;
                const bool filterChain = option.name == "vf" || option.name == "af";
                if (taken != option.value && !(filterChain && !taken.empty())) text += " [asked " + option.value + "]";
            }
        for (const std::string& refused : graph_.refused) text += " [refused: " + refused + "]";
    }
    filters_ = text;
}

void TPlayer::wakeWaiter() {
    if (waitLoop_) waitLoop_->quit();
}

bool TPlayer::waitUntil(const std::function<bool()>& done, int timeoutMs) {
    const QPointer<TPlayer> self(this);
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs);
    QEventLoop* outer = waitLoop_;
    waitLoop_ = &loop;
    bool finished = false;
    while (self) {
        if (done()) {
            finished = true;
            break;
        }
        if (!deadline.isActive()) break;
        loop.exec();
    }
    if (self) waitLoop_ = outer;
    return finished;
}

// ---- state and transport ---------------------------------------------------------------------

int TPlayer::State() const {
    switch (phase_) {
        case Phase::Opening:
        case Phase::Closing: return Busy;
        case Phase::Empty: return NoFilm;
        case Phase::Open: break;
    }
    return paused_.value || eof_ ? Ready : Playing;
}

bool TPlayer::Play() {
    if (phase_ != Phase::Open) return false;
    paused_.wrote(false);
    return session_->setFlagAsync(tag(Request::SetPause, 0), "pause", false);
}

bool TPlayer::Pause() {
    if (phase_ != Phase::Open) return false;
    paused_.wrote(true);
    return session_->setFlagAsync(tag(Request::SetPause, 0), "pause", true);
}

bool TPlayer::Stop() { return Pause() && Seek(0); }

bool TPlayer::Seek(float seconds) { return seekTo(seconds, true); }

bool TPlayer::SeekKeyFrame(float seconds) { return seekTo(seconds, false); }

bool TPlayer::seekTo(float seconds, bool exact) {
    if (phase_ != Phase::Open) return false;
    double target = std::isfinite(seconds) ? std::max(0.0, static_cast<double>(seconds)) : 0.0;
    if (Duration() > 0) target = std::min(target, Duration());
    correctingSeek_ = false;
    landing_.reset();
    if (const auto command = seeks_.request(target, exact)) sendSeek(*command);
    return true;
}

void TPlayer::sendSeek(const SeekQueue::Command& command) {
    seekWatchdog_.start(config_.seekTimeoutMs);
    sentExact_ = command.exact;
    const std::vector<std::string> arguments = {"seek", secondsText(command.target + origin_),
                                                command.exact ? "absolute+exact" : "absolute+keyframes"};
    if (!session_->commandAsync(tag(Request::Seek, command.id), arguments))
        handleSeekStep(seeks_.replied(command.id, false));
}

void TPlayer::abandonSeek() { handleSeekStep(seeks_.abandon()); }

void TPlayer::handleSeekStep(const SeekQueue::Step& step) {
    if (step.next) {
        sendSeek(*step.next);
        return;  // a newer target is on its way: the finished one no longer matters
    }
    if (!seeks_.busy()) seekWatchdog_.stop();
    if (!step.finished || !session_) return;
    landing_ = *step.finished;
    landingSerial_ = nextRequest_++;
    if (!session_->requestAsync(tag(Request::AskLanding, landingSerial_), "time-pos", MPV_FORMAT_DOUBLE))
        seekLanded(*step.finished, timePos_);
}

void TPlayer::seekLanded(double target, double position) {
    landing_.reset();
    timePos_ = position;
    // A key-frame seek lands before its target by design: only an exact one is corrected. While
    // the film plays, the position has moved on by the time it is asked: only a paused landing
    // tells a late one.
    if (sentExact_ && !correctingSeek_ && paused_.value && landedLate(target) &&
        demuxerOffset_ < kMaxDemuxerOffset) {
        // The demuxer started too close to the target; start earlier and seek once more.
        correctingSeek_ = true;
        ++demuxerOffset_;
        session_->setDoubleAsync(tag(Request::Plain, 0), "hr-seek-demuxer-offset", demuxerOffset_);
        if (const auto command = seeks_.request(target)) sendSeek(*command);
        return;
    }
    correctingSeek_ = false;
    Q_EMIT seekFinished(target);
}

bool TPlayer::landedLate(double target) const {
    const bool nearEnd = Duration() > 0 && target > Duration() - 2 * frameDuration_;
    return !nearEnd && timePos_ - origin_ > target + 1.5 * frameDuration_;
}

double TPlayer::Position() const {
    if (const auto target = seeks_.latestTarget()) return *target;
    if (landing_) return *landing_;
    return std::max(0.0, timePos_ - origin_);
}

double TPlayer::Duration() const { return std::max(0.0, duration_ - origin_); }

bool TPlayer::StepFrame() {
    if (phase_ != Phase::Open) return false;
    return session_->commandAsync(tag(Request::Plain, 0), {"frame-step"});
}

void TPlayer::SetRate(double rate) {
    if (!session_ || !(rate > 0)) return;
    speed_.wrote(rate);
    session_->setDoubleAsync(tag(Request::SetSpeed, 0), "speed", rate);
}

bool TPlayer::Audio() const { return hasAudio_ && !muted_.value; }

void TPlayer::SetAudio(bool on) {
    if (!session_) return;
    muted_.wrote(!on);
    session_->setFlagAsync(tag(Request::SetMute, 0), "mute", !on);
}

// ---- picture -----------------------------------------------------------------------------------

void TPlayer::SetWinHandle(QWidget* window) {
    QWidget* next = window ? window : this;
    if (next == target_) return;
    if (target_ && target_ != this) {
        target_->removeEventFilter(this);
        disconnect(target_, &QObject::destroyed, this, nullptr);
        target_->update();
    }
    target_ = next;
    if (target_ != this) {
        target_->installEventFilter(this);
        // A window that goes away hands the picture back to the player's own.
        connect(target_, &QObject::destroyed, this, [this] { SetWinHandle(this); });
    }
    update();
    resizeFrame();
}

double TPlayer::displayAspect() const {
    if (displayWidth_ > 0 && displayHeight_ > 0) return double(displayWidth_) / displayHeight_;
    if (nativeWidth_ > 0 && nativeHeight_ > 0) return double(nativeWidth_) / nativeHeight_;
    return 4.0 / 3.0;
}

bool TPlayer::SetDisplayWidth(int width) {
    videoWidth_ = std::max(width, 0);
    videoHeight_ = static_cast<int>(std::lround(videoWidth_ / displayAspect()));
    displaySizeChosen_ = true;
    resizeFrame();
    return true;
}

void TPlayer::SetVideoWidth(int width) {
    videoWidth_ = std::max(width, 0);
    displaySizeChosen_ = true;
    resizeFrame();
}

void TPlayer::SetVideoHeight(int height) {
    videoHeight_ = std::max(height, 0);
    displaySizeChosen_ = true;
    resizeFrame();
}

bool TPlayer::RefreshWindow() {
    if (!resizeFrame() && frameAvailable_) drawFrame();
    if (target_) target_->update();
    return true;
}

void TPlayer::takeDefaultDisplaySize() {
    if (displaySizeChosen_ || displayWidth_ <= 0 || displayHeight_ <= 0) return;
    if (videoWidth_ == displayWidth_ && videoHeight_ == displayHeight_) return;
    videoWidth_ = displayWidth_;
    videoHeight_ = displayHeight_;
    resizeFrame();
}

bool TPlayer::resizeFrame() {
    const qreal ratio = target_ ? target_->devicePixelRatioF() : 1.0;
    const QSize devicePixels(static_cast<int>(std::lround(videoWidth_ * ratio)),
                             static_cast<int>(std::lround(videoHeight_ * ratio)));
    if (!frame_.resize(devicePixels)) return false;
    if (frameAvailable_) drawFrame();
    if (target_) target_->update();
    return true;
}

void TPlayer::drawFrame() {
    // Without a size yet the picture waits: it is drawn when the film's size is known.
    if (!session_ || frame_.empty()) return;
    if (!session_->renderInto(frame_.pixels(), frame_.size().width(), frame_.size().height(), frame_.stride())) return;
    ++framesDrawn_;
    if (phase_ == Phase::Opening && opening_.loaded) {
        opening_.drawn = true;
        wakeWaiter();
    }
    if (target_) target_->update();
    Q_EMIT frameDrawn();
}

void TPlayer::paintPicture(QWidget* window) {
    QPainter painter(window);
    painter.fillRect(window->rect(), Qt::black);
    if (frame_.empty() || phase_ == Phase::Empty || phase_ == Phase::Closing) return;
    const QRect picture((window->width() - videoWidth_) / 2, (window->height() - videoHeight_) / 2, videoWidth_,
                        videoHeight_);
    painter.drawImage(picture, frame_.image());
}

void TPlayer::paintEvent(QPaintEvent*) {
    if (target_ == this) {
        paintPicture(this);
    } else {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
    }
}

bool TPlayer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == target_ && target_ != this && event->type() == QEvent::Paint) {
        paintPicture(target_);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace corvane
