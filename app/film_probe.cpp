#include "app/film_probe.h"

#include <exception>
#include <stdexcept>

#include "core/files.h"
#include "core/film_limits.h"

namespace corvane {

namespace {

std::string graphPath(const FilmProbeServices& services, const char* name) {
    return services.SystemFolder + "/" + name;
}

std::string fileNamePart(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool isMpeg2Type(std::int32_t tipo) { return tipo == 3 || tipo == 4 || tipo == 5 || tipo == 7; }

void logRecord(ApplicationLog& log, const VideoInfoRecord& record) {
    log.WriteLog("Parametri di output - ");
    log.WriteLog("Width: " + std::to_string(record.Width));
    log.WriteLog("Height: " + std::to_string(record.Height));
    log.WriteLog("Tipo: " + std::to_string(record.Tipo));
    log.WriteLog("Durata: " + std::to_string(record.Durata));
    log.WriteLog("Standard: " + record.Standard);
    log.WriteLog("FrameRate: " + std::to_string(record.FrameRate));
    log.WriteLog("KeyFrame: " + std::to_string(record.KeyFrame));
    log.WriteLog("BytRate: " + std::to_string(record.BytRate));
    log.WriteLog(record.Audio ? "Audio: SI" : "Audio: NO");
    log.WriteLog("Errore: " + std::to_string(record.Errore));
}

}  // namespace

ProbeFlags ProbeVideo(const std::string& path, const FilmProbeServices& services) {
    ApplicationLog& log = services.log;
    log.WriteLog("Inizio ****** GetInfoFilmato  ********");
    VideoInfoRecord record;
    record.FileName = path;
    record.Filter = graphPath(services, "Mpeg2_ADS.GRF");
    log.WriteLog("Parametri in input - ");
    log.WriteLog("Nome file: " + path);
    log.WriteLog("Filtro: " + record.Filter);
    log.WriteLog("Path: " + services.SystemFolder);
    log.WriteLog("Richiamo GetVideoInfo");
    const VideoInfoRecord before = record;
    try {
        if (!services.GetVideoInfo) throw std::runtime_error("no video probe");
        services.GetVideoInfo(record, services.SystemFolder);
        log.WriteLog("GetVideoInfo OK");
    } catch (...) {
        log.WriteLog("GetVideoInfo " + path + " ERROR");
        record = before;
    }
    logRecord(log, record);
    const ProbeFlags flags{isMpeg2Type(record.Tipo), record.Audio, record.Width, record.Height};
    log.WriteLog("Fine ****** GetInfoFilmato  ********");
    return flags;
}

namespace {

struct GraphChoice {
    std::string filtro;
    std::optional<ProbeFlags> probe;  // when the choice probed the film
};

GraphChoice chooseGraph(const std::string& path, const std::string& captureCard, const FilmProbeServices& services) {
    if (captureCard == "CUSTOM" || captureCard == "CUSTOM2" || captureCard == "DVCAM") return {"x", std::nullopt};
    const std::string name = asciiLower(fileNamePart(path));
    if (name.find(".bmp") != std::string::npos || name.find(".jpg") != std::string::npos) return {"x", std::nullopt};

    std::string result = graphPath(services, "Mpeg1.GRF");
    const ProbeFlags probe = ProbeVideo(path, services);
    if (probe.Audio) result = graphPath(services, "Mpeg1_Audio.GRF");
    services.log.WriteLog(probe.Mpeg2 ? "GetFiltro MPEG 2" : "GetFiltro MPEG 1");
    if (probe.Mpeg2) {
        if (services.CheckMpeg2Filters) services.CheckMpeg2Filters();
        result = graphPath(services, probe.Audio ? "Mpeg2_ADS_Audio.GRF" : "Mpeg2_ADS.GRF");
    }
    if (probe.Audio) result = graphPath(services, "Mpeg2_ADS_Audio_c.GRF");
    if (!services.settings.flag(UtilizzaCodec)) result = "x";
    return {result, probe};
}

// The picture's size alone, for films the graph choice does not probe; a failing probe tells
// nothing.
ProbeFlags measurePicture(const std::string& path, const FilmProbeServices& services) {
    VideoInfoRecord record;
    record.FileName = path;
    try {
        if (services.GetVideoInfo) services.GetVideoInfo(record, services.SystemFolder);
    } catch (...) {
        return {};
    }
    return {false, false, record.Width, record.Height};
}

}  // namespace

bool FilmOpening::pictureRefused() const {
    const bool measured = Width != 0 || Height != 0;
    return measured && !filmPictureWithinLimits(Width, Height);
}

std::string ChooseFilterGraph(const std::string& path, const std::string& captureCard,
                              const FilmProbeServices& services) {
    return chooseGraph(path, captureCard, services).filtro;
}

FilmOpening PrepareFilmOpening(const std::string& path, const std::string& captureCard,
                               const FilmProbeServices& services) {
    GraphChoice choice = chooseGraph(path, captureCard, services);
    const ProbeFlags picture = choice.probe ? *choice.probe : measurePicture(path, services);
    return {std::move(choice.filtro), picture.Width, picture.Height};
}

}  // namespace corvane
