"""Matches of the other sports (basketball, handball) simulated possession by possession, and the
package files made from them: the lower-case scout file, Stat.txt and Eventi.txt."""

import random
from dataclasses import dataclass

from textfiles import EXTENSION_SEPARATOR, EXTENSION_TEXT_SEPARATOR, check_field_text, two_digits

TEAM_ROW = "$$"  # the player part of actions that belong to the team, not to a player


@dataclass
class Player:
    number: int
    last: str
    first: str
    role: str


@dataclass
class Team:
    mark: str
    code: str
    name: str
    coach: str
    assistant: str
    players: list


@dataclass
class Code:
    text: str
    period: int
    second: int
    score: tuple

    @property
    def team(self):
        return self.text[0]

    @property
    def player(self):
        return self.text[1:3]

    @property
    def event(self):
        return self.text[3:5]

    @property
    def effect(self):
        return self.text[5:6]


@dataclass
class Event:
    key: str
    description: str
    effects: list          # texts for "=", "/", "-", "!", "+", "#"; None for a line without them
    extensions: list       # (two characters at positions 7-8, text)
    labels: list           # Stat.txt sub-columns after the total: effect symbols
    has_extensions: bool = False


@dataclass
class Sport:
    events: list
    points: dict           # (event key, effect) -> points scored
    periods: int
    period_seconds: int    # film seconds of a period
    possession_seconds: tuple
    break_seconds: int
    extra_period_on_tie: bool


def make_code(mark, player, event, effect, extension="~~", rest=""):
    return ("%s%s%s%s%s%s" % (mark, player, event, effect, extension, rest)).rstrip("~")


class Simulation:
    def __init__(self, sport, home, away, seed, possession):
        self.sport = sport
        self.random = random.Random(seed)
        self.teams = (home, away)
        self.possession = possession  # a function(simulation, side) -> list of (side, player, event, effect, ext)
        self.codes = []
        self.score = [0, 0]
        self.time = 5
        self.period = 1

    def player(self, side, roles=None, weights=None):
        players = [p for p in self.teams[side].players if roles is None or p.role in roles]
        return self.random.choices(players, weights or [1] * len(players))[0]

    def add(self, side, player, event, effect, extension="~~", rest=""):
        number = TEAM_ROW if player is None else two_digits(player.number)
        self.score[side] += self.sport.points.get((event, effect), 0)
        self.codes.append(Code(make_code(self.teams[side].mark, number, event, effect, extension, rest),
                               self.period, self.time, tuple(self.score)))

    def play_period(self, side, length):
        end = self.time + length
        while self.time < end:
            side = self.possession(self, side)
            self.time += self.random.randint(*self.sport.possession_seconds)
        return side

    def play(self, force_extra_period):
        side = 0
        for period in range(1, self.sport.periods + 1):
            self.period = period
            side = self.play_period(period % 2, self.sport.period_seconds)
            if period == self.sport.periods and force_extra_period:
                self.level_the_score()
            self.time += self.sport.break_seconds
        if self.sport.extra_period_on_tie and self.score[0] == self.score[1]:
            self.period = self.sport.periods + 1
            self.play_period(0, self.sport.period_seconds // 2)
            if self.score[0] == self.score[1]:
                self.level_the_score(winner=0)
        return self.time + 5

    def level_the_score(self, winner=None):
        """A last-second score that levels the match (or wins it for winner)."""
        trailing = 0 if self.score[0] < self.score[1] else 1
        if winner is not None:
            trailing = winner
        missing = self.score[1 - trailing] - self.score[trailing] + (1 if winner is not None else 0)
        for (event, effect), points in sorted(self.sport.points.items(), key=lambda item: -item[1]):
            while 0 < points <= missing:
                self.add(trailing, self.player(trailing), event, effect)
                self.time += 1
                missing -= points


def simulate(sport, home, away, seed, possession, force_extra_period=False):
    simulation = Simulation(sport, home, away, seed, possession)
    length = simulation.play(force_extra_period)
    return simulation.codes, length, tuple(simulation.score)


# --- the scout file ----------------------------------------------------------------------------------

def player_line(player):
    fields = [str(player.number), "%s-%s" % (player.last.replace(" ", "")[:3].upper(), player.number),
              "%s %s" % (player.last.upper(), player.first), player.first, player.last, player.role]
    return ";".join(check_field_text(f) for f in fields)


def scout_file_lines(title, match_fields, home, away, final, more, comments, codes):
    lines = ["[match]", title, ";".join(match_fields)]
    lines.append(";".join([home.code, home.name, home.coach, home.assistant, str(final[0])]))
    lines.append(";".join([away.code, away.name, away.coach, away.assistant, str(final[1])]))
    lines.append(";".join(more))
    lines.append(";".join(check_field_text(c) for c in comments))
    lines.append("[hometeam]")
    lines += [player_line(p) for p in home.players]
    lines.append("[oppteam]")
    lines += [player_line(p) for p in away.players]
    lines.append("[scout]")
    for code in codes:
        lines.append(";".join([code.text, str(code.period), "0", "1", str(code.second),
                               "%d-%d" % code.score]))
    return lines


# --- Eventi.txt ----------------------------------------------------------------------------------------

def event_lines(sport):
    lines = []
    for event in sport.events:
        extensions = EXTENSION_SEPARATOR.join(
            "~~~%s~%s%s%s" % (event.key, code, EXTENSION_TEXT_SEPARATOR, check_field_text(text))
            for code, text in event.extensions)
        fields = ["~~~" + event.key, check_field_text(event.description), "1", event.key, event.description,
                  "0", "", "0", "0", "", "0", "0", extensions]
        fields.append("1" if event.extensions else "0")
        # An event without effect texts still ends on its flag: with no extensions the line would
        # end on an empty field, which is no field, and a line of 12 fields ends the loading.
        if event.effects is not None:
            fields += [event.key, "0", event.description.lower(),
                       ";".join(check_field_text(e) for e in event.effects), "", "", event.key[0]]
        lines.append("\t".join(fields))
    return lines


# --- Stat.txt ------------------------------------------------------------------------------------------

def stat_lines(sport, home, away, codes):
    header = ["%s|Tot%s" % (e.key, "".join("$" + label for label in e.labels)) for e in sport.events]
    lines = ["[testata]", ";".join(header)]
    for section, team in (("[home]", home), ("[opponent]", away)):
        lines.append(section)
        own = [c for c in codes if c.team == team.mark]
        rows = [(two_digits(p.number), "%s %s" % (p.last, p.first), two_digits(p.number))
                for p in sorted(team.players, key=lambda p: p.number)]
        rows.append(("SQ", "Squadra", TEAM_ROW))
        rows.append(("TO", "Totali", None))
        for number, name, player in rows:
            mine = [c for c in own if player is None or c.player == player]
            fields = [number, name]
            for event in sport.events:
                of_event = [c for c in mine if c.event == event.key]
                counts = [len(of_event)] + [sum(1 for c in of_event if c.effect == s) for s in event.labels]
                # A zero is left blank, so sub-columns that no one ever fills are pruned.
                fields += [str(n) if n else "" for n in counts]
            lines.append(";".join(check_field_text(f) for f in fields))
    lines.append("[eventswithext]")
    lines.append(";".join(e.key for e in sport.events if e.has_extensions))
    return lines


# --- basketball ----------------------------------------------------------------------------------------

BASKETBALL = Sport(
    events=[
        Event("FI", "Tiro da 2 in area", ["Sbagliato", "Stoppato", "", "", "Segnato con fallo", "Segnato"],
              [("LA", "in terzo tempo"), ("DU", "schiacciata"), ("HO", "gancio")], ["=", "/", "+", "#"], True),
        Event("FG", "Tiro da 2 dalla media", ["Sbagliato", "Stoppato", "", "", "Segnato con fallo", "Segnato"],
              [("JS", "in sospensione"), ("FA", "in allontanamento")], ["=", "/", "#"], True),
        Event("F3", "Tiro da 3", ["Sbagliato", "Stoppato", "", "", "", "Segnato"],
              [("CO", "dall'angolo"), ("TP", "frontale")], ["=", "#"], True),
        Event("FT", "Tiro libero", ["Sbagliato", "", "", "", "", "Segnato"], [], ["=", "/", "#"]),
        Event("RO", "Rimbalzo offensivo", ["", "", "", "", "Conquistato", ""], [], []),
        Event("RD", "Rimbalzo difensivo", ["", "", "", "", "Conquistato", ""], [], []),
        Event("AS", "Assist", None, [], []),
        Event("TO", "Palla persa", ["Persa", "", "", "", "", ""],
              [("PA", "passaggio sbagliato"), ("TR", "passi"), ("OF", "sfondamento"), ("24", "24 secondi")],
              [], True),
        Event("ST", "Palla recuperata", ["", "", "", "", "Recuperata", ""], [], []),
        Event("BK", "Stoppata", ["", "", "", "", "Stoppata", ""], [], []),
        Event("PF", "Fallo personale", ["Commesso", "", "", "", "", ""],
              [("DI", "difensivo"), ("SH", "su tiro")], []),
        Event("TF", "Fallo tecnico", ["Commesso", "", "", "", "", ""], [], []),
    ],
    points={("FI", "#"): 2, ("FI", "+"): 2, ("FG", "#"): 2, ("F3", "#"): 3, ("FT", "#"): 1},
    periods=4, period_seconds=25, possession_seconds=(2, 4), break_seconds=6, extra_period_on_tie=True)


def basketball_possession(sim, side):
    r = sim.random
    other = 1 - side
    shooter = sim.player(side, weights=None)
    roll = r.random()
    if roll < 0.12:
        extension = r.choice(["PA", "PA", "TR", "OF"])
        if r.random() < 0.15:
            sim.add(side, None, "TO", "=", "24")
        else:
            sim.add(side, shooter, "TO", "=", extension)
            if extension == "PA" and r.random() < 0.6:
                sim.add(other, sim.player(other), "ST", "+")
        return other
    if roll < 0.55:
        event, extension = "FI", r.choice(["LA", "LA", "DU", "HO"])
    elif roll < 0.78:
        event, extension = "FG", r.choice(["JS", "FA"])
    else:
        event, extension = "F3", r.choice(["CO", "TP"])
    zone = "Z%d" % r.randint(1, 9)
    made = r.random() < {"FI": 0.55, "FG": 0.45, "F3": 0.36}[event]
    if made:
        foul = event == "FI" and r.random() < 0.12
        sim.add(side, shooter, event, "+" if foul else "#", extension, zone)
        if r.random() < 0.5:
            sim.add(side, sim.player(side), "AS", "+")
        if foul:
            sim.add(other, sim.player(other), "PF", "=", "SH")
            sim.time += 1
            sim.add(side, shooter, "FT", r.choice("##="))
        return other
    if event != "F3" and r.random() < 0.1:
        sim.add(side, shooter, event, "/", extension, zone)
        sim.add(other, sim.player(other, "CP"), "BK", "+")
    else:
        sim.add(side, shooter, event, "=", extension, zone)
    if event == "FI" and r.random() < 0.2:
        sim.add(other, sim.player(other), "PF", "=", "SH")
        sim.time += 1
        for _ in range(2):
            sim.add(side, shooter, "FT", r.choice("##="))
        return other
    sim.time += 1
    if r.random() < 0.28:
        sim.add(side, sim.player(side, "CP"), "RO", "+")
        return side
    if r.random() < 0.1:
        sim.add(other, None, "RD", "+")
    else:
        sim.add(other, sim.player(other, "CPA"), "RD", "+")
    return other


def basketball_teams():
    home = Team("*", "AQU", "Aquile Corvane", "Franco Bellini", "Dario Russo", [
        Player(4, "Bianchi", "Marco", "G"), Player(5, "Esposito", "Luca", "G"), Player(7, "Romano", "Ivan", "A"),
        Player(9, "Colombo", "Sergio", "A"), Player(11, "Ricci", "Paolo", "C"), Player(12, "Marino", "Enzo", "P"),
        Player(14, "Greco", "Fabio", "A"), Player(15, "Bruno", "Carlo", "C")])
    away = Team("a", "LUP", "Lupi Valmarina", "Renato Gallo", "Stefano Conte", [
        Player(3, "De Luca", "Mirko", "G"), Player(6, "Mancini", "Ugo", "G"), Player(8, "Lombardi", "Teo", "A"),
        Player(10, "Moretti", "Aldo", "A"), Player(13, "Barbieri", "Nino", "C"), Player(20, "Fontana", "Ezio", "P"),
        Player(22, "Santoro", "Gino", "A"), Player(33, "Marchetti", "Rino", "C")])
    return home, away


# --- handball ------------------------------------------------------------------------------------------

HANDBALL = Sport(
    events=[
        Event("TI", "Tiro", ["Fuori", "Parato", "Murato", "Palo", "", "Gol"],
              [("6M", "dai 6 metri"), ("9M", "dai 9 metri"), ("AL", "dall'ala"), ("CO", "in contropiede"),
               ("PI", "del pivot")], ["=", "/", "-", "!", "#"], True),
        Event("RI", "Rigore", ["Fuori", "Parato", "", "Palo", "", "Gol"], [], ["=", "/", "#"]),
        Event("PA", "Parata", ["", "", "", "", "Parata", ""], [("RI", "su rigore")], [], True),
        Event("PP", "Palla persa", ["Persa", "", "", "", "", ""],
              [("PS", "passaggio sbagliato"), ("PA", "passi"), ("IN", "invasione dell'area")], [], True),
        Event("RP", "Palla recuperata", ["", "", "", "", "Recuperata", ""], [], []),
        Event("AS", "Assist", None, [], []),
        Event("ES", "Esclusione 2 minuti", ["Esclusione", "", "", "", "", ""], [], []),
        Event("AM", "Ammonizione", None, [], []),
    ],
    points={("TI", "#"): 1, ("RI", "#"): 1},
    periods=2, period_seconds=62, possession_seconds=(3, 5), break_seconds=8, extra_period_on_tie=False)


def handball_possession(sim, side):
    r = sim.random
    other = 1 - side
    keeper = next(p for p in sim.teams[other].players if p.role == "P")
    roll = r.random()
    if roll < 0.15:
        if r.random() < 0.2:
            sim.add(side, None, "PP", "=", "PS")
        else:
            sim.add(side, sim.player(side, "ACTW"), "PP", "=", r.choice(["PS", "PA", "IN"]))
            if r.random() < 0.5:
                sim.add(other, sim.player(other, "ACTW"), "RP", "+")
        return other
    if roll < 0.22:
        sim.add(other, sim.player(other, "ACTW"), "ES" if r.random() < 0.6 else "AM", "=")
        sim.time += 1
        shooter = sim.player(side, "ACTW")
        effect = r.choice("###/=")
        sim.add(side, shooter, "RI", effect)
        if effect == "/":
            sim.add(other, keeper, "PA", "+", "RI")
        return other
    shooter = sim.player(side, "ACTW")
    extension = {"A": "9M", "C": "6M", "T": "PI", "W": "AL"}[shooter.role]
    if r.random() < 0.1:
        extension = "CO"
    effect = r.choices("#/=-!", [50, 25, 12, 8, 5])[0]
    sim.add(side, shooter, "TI", effect, extension, "Z%d" % r.randint(1, 9))
    if effect == "#" and r.random() < 0.4:
        sim.add(side, sim.player(side, "ACW"), "AS", "+")
    if effect == "/":
        sim.add(other, keeper, "PA", "+")
    return other


def handball_teams():
    home = Team("*", "ORS", "Orsi Corvane", "Walter Fiore", "Ennio Sarti", [
        Player(1, "Pace", "Omar", "P"), Player(2, "Carli", "Ivo", "W"), Player(5, "Nardi", "Leo", "A"),
        Player(6, "Orlando", "Teo", "C"), Player(8, "Sorrentino", "Ugo", "A"), Player(10, "Ferrara", "Dino", "T"),
        Player(13, "Guidi", "Aldo", "W"), Player(16, "Villa", "Remo", "P")])
    away = Team("a", "CIN", "Cinghiali Roccalta", "Bruno Parisi", "Mauro Sanna", [
        Player(1, "Monti", "Elio", "P"), Player(3, "Rizzo", "Nello", "W"), Player(4, "Silvestri", "Ciro", "A"),
        Player(7, "Benedetti", "Raul", "C"), Player(9, "Farina", "Gigi", "A"), Player(11, "Cattaneo", "Otto", "T"),
        Player(14, "Morelli", "Ilio", "W"), Player(12, "Amato", "Lino", "P")])
    return home, away
