"""Writes the text files of the demo disc's packages under OUTDIR/Tlx_Video and prints the films
to make, one a line: path (relative to OUTDIR), codec, size, seconds, audio (0/1), key-frame
interval, label; TAB-separated.

    build_data.py OUTDIR PLAIN_SCOUT_FOLDER TEXT_LIST

The third-sport package's scout file is written plain to PLAIN_SCOUT_FOLDER, named as in the
package; the caller enciphers it into the package. TEXT_LIST receives the paths (relative to
OUTDIR) of every text file of the packages, the enciphered scout file included."""

import datetime
import os
import sys

import lowercase
import synthesis
import volleyball
from textfiles import write_lines

FRAME_RATE = 25

VOLLEY = "2026-11-28_Volley_Falchi-Delfini"
SYNTHESIS = "syn_Falchi_Stagione_2026"
BASKET = "2026-12-02_Basket_Aquile-Lupi"
HANDBALL = "2026-12-05_Pallamano_Orsi-Cinghiali"
PACKAGES = [VOLLEY, SYNTHESIS, BASKET, HANDBALL]


def day_number(year, month, day):
    return (datetime.date(year, month, day) - datetime.date(1899, 12, 30)).days


def match_config(pairs):
    return ["%s=%s" % pair for pair in pairs]


class Disc:
    def __init__(self, root, plain_folder):
        self.root = root
        self.plain_folder = plain_folder
        self.films = []
        self.texts = []

    def package(self, name):
        return os.path.join(self.root, "Tlx_Video", name)

    def write(self, package, name, lines):
        write_lines(os.path.join(self.package(package), name), lines)
        self.texts.append(os.path.join("Tlx_Video", package, name))

    def film(self, package, name, codec, size, seconds, audio, gop, label):
        self.films.append((os.path.join("Tlx_Video", package, name), codec, size, str(seconds),
                           "1" if audio else "0", str(gop), label))


def volleyball_match(disc):
    home, away = volleyball.falchi(), volleyball.delfini()
    match = volleyball.simulate_match(home, away, seed=20261148, start_clock=18 * 3600 + 30 * 60)
    info = {
        "match": ["28/11/2026", "18.30", "2026/2027", "Campionato Demo", "Andata", "17", "5", "Regular season"],
        "match2": ["Gara valida per la classifica", "Set al 15", str(day_number(2026, 11, 28))],
        "more": ["Bassi - Orlandi", "420", "1250", "Corvane", "PalaCorvane", "Demo Scout"],
    }
    comments = ["Partita dimostrativa", "Set al 15 per tenere brevi i filmati", "Città: Corvane",
                "Generata da tools/make_demo_disc.sh"]
    disc.write(VOLLEY, "Match.cfg", match_config([
        ("titolo", "Falchi Corvane - Delfini Portovario"), ("data", "28/11/2026"),
        ("file rilevazione", r"C:\Scout\2026\Falchi-Delfini.vsc"), ("sport", "1"), ("capturecard", "ADVC110"),
        ("relprogramma", "Corvane Scout 4.2 - disco dimostrativo"), ("drivestart", "D:"), ("minuticatt", "120"),
        ("suddxset", "0"), ("apririlev", "1"), ("ricatturaf", "0"), ("paramscheda", ""), ("ricomprimi", "0"),
        ("vistitolo", "1")]))
    disc.write(VOLLEY, "FilmList.cfg", ["Film01.mpg", "Film02.mpg"])
    disc.write(VOLLEY, "Falchi-Delfini.vsc", volleyball.scout_file_lines(match, info, comments))
    disc.write(VOLLEY, "Stat.txt", volleyball.stat_lines(match))
    disc.write(VOLLEY, "Eventi.txt", volleyball.event_lines(match))
    for number, length in enumerate(match.film_lengths, start=1):
        disc.film(VOLLEY, "Film%02d.mpg" % number, "mpeg2", "720x576", length, True, 12,
                  "Volley film %d" % number)
    return match, info


def volleyball_synthesis(disc, first, info):
    second = volleyball.simulate_match(volleyball.falchi(), volleyball.delfini(), seed=20270115,
                                       start_clock=20 * 3600 + 45 * 60)
    matches = [first, second]
    clips = synthesis.choose_clips(matches)
    # In the order of the notes window's columns: home, visiting, result, season, competition,
    # phase, match day, date, type.
    matches_data = [
        ["Falchi Corvane", "Delfini Portovario", "%d-%d" % first.sets_won(), "2026/2027", "Campionato Demo",
         "Andata", "7", "28/11/2026", "Ufficiale"],
        ["Falchi Corvane", "Delfini Portovario", "%d-%d" % second.sets_won(), "2026/2027", "Coppa Demo",
         "Quarti di finale", "1", "15/01/2027", "Ufficiale"],
    ]
    synthesis_info = dict(info)
    synthesis_info["match"] = ["20/01/2027", "", "2026/2027", "Sintesi Falchi Corvane", "Stagione", "", "", "Sintesi"]
    synthesis_info["match2"] = ["Sintesi di due partite", "", ""]
    comments = ["Sintesi dimostrativa", "Azioni scelte da due partite", "", ""]
    disc.write(SYNTHESIS, "Match.cfg", match_config([
        ("titolo", "Falchi Corvane - sintesi di stagione"), ("file rilevazione", "Sintesi.vsc"), ("sport", "1"),
        ("capturecard", ""), ("relprogramma", "Corvane Scout 4.2 - sintesi"), ("cartella", "Sintesi"),
        ("scout", "Demo Scout")]))
    disc.write(SYNTHESIS, "FilmList.cfg", ["Sintesi01.mpg"])
    disc.write(SYNTHESIS, "Sintesi.vsc",
               synthesis.scout_file_lines(matches, clips, synthesis_info, comments, matches_data))
    disc.write(SYNTHESIS, "Analisi.ini", synthesis.analysis_file_lines())
    disc.write(SYNTHESIS, "Eventi.txt", volleyball.event_lines(first))
    disc.film(SYNTHESIS, "Sintesi01.mpg", "mpeg1", "352x288", synthesis.film_seconds(clips), True, 12,
              "Sintesi")


def other_sport(disc, package, sport, teams, possession, seed, scout_name, config, match_fields, more,
                comments, film_name, film, extra_period=False, plain=False):
    home, away = teams
    codes, length, final = lowercase.simulate(sport, home, away, seed, possession, extra_period)
    title = "%s - %s;%s" % (home.name, away.name, match_fields[3])
    lines = lowercase.scout_file_lines(title, match_fields, home, away, final, more, comments, codes)
    if plain:
        write_lines(os.path.join(disc.plain_folder, scout_name), lines)
        disc.texts.append(os.path.join("Tlx_Video", package, scout_name))
    else:
        disc.write(package, scout_name, lines)
    disc.write(package, "Match.cfg", config)
    disc.write(package, "FilmList.cfg", [film_name])
    disc.write(package, "Eventi.txt", lowercase.event_lines(sport))
    disc.write(package, "Stat.txt", lowercase.stat_lines(sport, home, away, codes))
    codec, size, audio, gop = film
    disc.film(package, film_name, codec, size, length, audio, gop, package.split("_")[1])


def basketball_match(disc):
    other_sport(
        disc, BASKET, lowercase.BASKETBALL, lowercase.basketball_teams(), lowercase.basketball_possession, 20261202,
        "Aquile-Lupi.sco",
        # Blanks around the key, the "=" and the value are part of the format.
        [" Sport = 2 ", "file rilevazione=Aquile-Lupi.sco", "capturecard=", "relprogramma=Corvane Basket 2.1 demo",
         "titolo=Aquile Corvane - Lupi Valmarina"],
        ["02/12/2026", "20:30", "2026/2027", "Campionato Demo Basket", "Andata", "42", "8", "Regular season"],
        ["Greco - Fadda - Lai", "1800", "9400", "Corvane", "Palasport Corvane", "Demo Scout"],
        ["Partita dimostrativa", "Tempi da 25 secondi di filmato", "", ""],
        # A long group of pictures: about 10 s between key frames.
        "Film01.mp4", ("h264", "1280x720", True, 10 * FRAME_RATE), extra_period=True)


def handball_match(disc):
    other_sport(
        disc, HANDBALL, lowercase.HANDBALL, lowercase.handball_teams(), lowercase.handball_possession, 20261205,
        "Orsi-Cinghiali.sco",
        ["file rilevazione=Orsi-Cinghiali.sco", "sport=3", "capturecard=ADVC110",
         "relprogramma=Corvane Pallamano 1.3 demo", "titolo=Orsi Corvane - Cinghiali Roccalta"],
        ["05/12/2026", "18:00", "2026/2027", "Serie Demo Pallamano", "Andata", "9", "3", "Regular season"],
        ["Pinna - Serra", "350", "700", "Roccalta", "Palazzetto Roccalta", "Demo Scout"],
        ["Partita dimostrativa", "File di rilevazione cifrato riga per riga", "", ""],
        "Film01.mpg", ("mpeg2", "720x576", False, 15), plain=True)


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: build_data.py OUTDIR PLAIN_SCOUT_FOLDER TEXT_LIST")
    disc = Disc(sys.argv[1], sys.argv[2])
    match, info = volleyball_match(disc)
    volleyball_synthesis(disc, match, info)
    basketball_match(disc)
    handball_match(disc)
    # The costliest films first, so two encoders at a time finish together.
    for film in sorted(disc.films, key=encoding_cost, reverse=True):
        print("\t".join(film))
    write_lines_plain(sys.argv[3], disc.texts)


def encoding_cost(film):
    _, codec, size, seconds = film[:4]
    width, height = (int(n) for n in size.split("x"))
    return int(seconds) * width * height * (3 if codec == "h264" else 1)


def write_lines_plain(path, lines):
    with open(path, "w", encoding="utf-8") as out:
        out.writelines(line + "\n" for line in lines)


if __name__ == "__main__":
    main()
