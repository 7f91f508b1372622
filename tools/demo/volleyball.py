"""A volleyball match simulated rally by rally, and the package files made from it: the
"[3KESTRALINESCOUT]" scout file, Stat.txt and Eventi.txt."""

import random
from dataclasses import dataclass, field

from textfiles import (EXTENSION_SEPARATOR, EXTENSION_TEXT_SEPARATOR, check_field_text, clock_text,
                       two_digits)

POINTS_PER_SET = 15      # short sets keep the films a few minutes long
SETS_TO_WIN = 2
SET_BREAK_FILM = 12      # the camera pauses between sets: film seconds of a break
SET_BREAK_CLOCK = 240    # and the clock seconds it really lasted
PARTIAL_SCORES = (4, 8, 12)
REAL_SECONDS_PER_RALLY = 40


@dataclass
class Player:
    number: int
    last: str
    first: str
    role: str  # S setter, O opposite, H outside hitter, C middle blocker, L libero
    serve: str = "M"  # "Q" jump serve, "M" float

    @property
    def name(self):
        return "%s %s" % (self.last.upper(), self.first)


@dataclass
class Team:
    mark: str  # "*" home, "a" visiting
    code: str
    name: str
    coach: str
    assistant: str
    players: list
    starting: list  # shirt numbers in zones 1 to 6 of set 1

    def player(self, number):
        return next(p for p in self.players if p.number == number)

    def libero(self):
        return next(p for p in self.players if p.role == "L")


def falchi():
    players = [
        Player(1, "Rinaldi", "Tommaso", "S", "Q"), Player(3, "Ferri", "Niccolò", "H", "Q"),
        Player(5, "Galli", "Matteo", "C"), Player(7, "Conti", "Andrea", "O", "Q"),
        Player(9, "Serra", "Davide", "H"), Player(11, "Marini", "Luca", "C"),
        Player(12, "Dell'Orto", "Simone", "L"), Player(14, "Riva", "Pietro", "H"),
        Player(16, "Fabbri", "Elia", "S"), Player(17, "Testa", "Gabriele", "C", "Q"),
        Player(18, "Lodi", "Samuele", "O"),
    ]
    return Team("*", "FAL", "Falchi Corvane", "Marco Valli", "Luca Berti", players, [1, 3, 5, 7, 9, 11])


def delfini():
    players = [
        Player(2, "Sala", "Riccardo", "S"), Player(4, "Neri", "Federico", "H", "Q"),
        Player(6, "Bassi", "Lorenzo", "C"), Player(8, "Moretti", "Giacomo", "O", "Q"),
        Player(10, "Barbieri", "Nicola", "H"), Player(13, "Costa", "Filippo", "C"),
        Player(15, "Pellegrini", "Jacopo", "L"), Player(19, "Gatti", "Emanuele", "H", "Q"),
        Player(20, "Longo", "Mattia", "S"), Player(21, "Vitale", "Alessio", "C"),
    ]
    return Team("a", "DEL", "Delfini Portovario", "Giorgio Sala", "Paolo Neri", players, [2, 4, 6, 8, 10, 13])


def make_code(mark, number, skill, kind, evaluation, combination="~~", target="~", start="~", end="~",
              subzone="~", hit="~", blockers="~"):
    """The code text with "~" for blanks; trailing blanks are left to the reader's padding."""
    text = "".join((mark, two_digits(number), skill, kind, evaluation, combination, target, str(start), str(end),
                    subzone, hit, blockers))
    return text.rstrip("~")


@dataclass
class Code:
    text: str
    set_no: int
    time: int                # seconds of the whole recording (both films)
    clock: int               # time of day in seconds
    trajectory: str = ""
    setters: tuple = (1, 1)  # zones of the home and visiting setters
    rally: int = 0
    score: tuple = (0, 0)    # running score shown on this code's row
    film: int = 1
    second: int = 0

    @property
    def team(self):
        return self.text[0]

    @property
    def skill(self):
        return self.text[3] if len(self.text) > 3 and self.text[0] in "*a" and self.text[1:3].isdigit() else ""

    @property
    def evaluation(self):
        return self.text[5] if len(self.text) > 5 else ""

    @property
    def number(self):
        return int(self.text[1:3]) if self.text[1:3].isdigit() else 0


@dataclass
class SetResult:
    partials: list = field(default_factory=list)
    final: tuple = (0, 0)
    minutes: int = 0


@dataclass
class Match:
    home: Team
    away: Team
    codes: list
    sets: list
    film_starts: list  # recording time at which each film starts
    film_lengths: list
    start_clock: int

    def sets_won(self):
        home = sum(1 for s in self.sets if s.final[0] > s.final[1])
        return home, len(self.sets) - home


class Simulation:
    def __init__(self, home, away, seed, start_clock):
        self.random = random.Random(seed)
        self.teams = (home, away)
        self.codes = []
        self.sets = []
        self.time = 6
        self.clock_offset = start_clock
        self.rally = 0
        self.lineups = [list(home.starting), list(away.starting)]
        self.set_no = 1

    # --- helpers -----------------------------------------------------------------------------
    def add(self, text, trajectory=""):
        code = Code(text, self.set_no, self.time, self.time + self.clock_offset, trajectory,
                    tuple(self.setter_zone(t) for t in (0, 1)), self.rally)
        self.codes.append(code)
        return code

    def tick(self, seconds=1):
        self.time += seconds

    def pause(self, film_seconds, clock_seconds):
        """The camera stops between rallies: the film goes on by less than the clock."""
        self.time += film_seconds
        self.clock_offset += clock_seconds - film_seconds

    def setter_zone(self, side):
        team = self.teams[side]
        for zone, number in enumerate(self.lineups[side], start=1):
            if team.player(number).role == "S":
                return zone
        return 1

    def on_court(self, side, zones):
        team = self.teams[side]
        return [team.player(self.lineups[side][z - 1]) for z in zones]

    def pick(self, weighted):
        players = [p for p, w in weighted if w > 0]
        weights = [w for p, w in weighted if w > 0]
        return self.random.choices(players, weights)[0]

    def choose(self, table):
        return self.random.choices(list(table), list(table.values()))[0]

    def trajectory(self):
        r = self.random
        return "%d,%d,%d,%d" % (r.randint(5, 95), r.randint(5, 45), r.randint(5, 95), r.randint(55, 95))

    # --- the players that make each touch ------------------------------------------------------
    def receiver(self, side):
        team = self.teams[side]
        back = self.on_court(side, (1, 6, 5))
        front = self.on_court(side, (2, 3, 4))
        weighted = [(team.libero(), 4)]
        weighted += [(p, 2 if p.role == "H" else 0) for p in back + front]
        return self.pick(weighted)

    def digger(self, side):
        team = self.teams[side]
        weighted = [(team.libero(), 3)]
        weighted += [(p, 1.5) for p in self.on_court(side, (1, 6, 5)) if p.role not in "C"]
        weighted += [(p, 0.5) for p in self.on_court(side, (2, 3, 4))]
        return self.pick(weighted)

    def blocker(self, side):
        return self.pick([(p, 3 if p.role == "C" else 1) for p in self.on_court(side, (2, 3, 4))])

    def setter(self, side, first_touch):
        team = self.teams[side]
        setter = next(team.player(n) for n in self.lineups[side] if team.player(n).role == "S")
        if setter is first_touch:
            return self.pick([(p, 1) for p in self.on_court(side, (2, 3, 4)) if p.role in "HO"])
        return setter

    def attack_choice(self, side, good_ball):
        """(player, type, combination, target, start zone)"""
        weighted = []
        for zone, player in zip((2, 3, 4), self.on_court(side, (2, 3, 4))):
            if player.role == "C":
                weighted.append(((player, zone), 1.2 if good_ball else 0))
            elif player.role in "HO":
                weighted.append(((player, zone), 1.5))
        for zone, player in zip((1, 6), self.on_court(side, (1, 6))):
            if player.role in "HO":
                weighted.append(((player, zone), 0.5 if good_ball else 0.2))
        player, zone = self.pick(weighted)
        if player.role == "C":
            return player, "Q", self.random.choice(["X1", "X7", "X2"]), "C", 3
        if zone in (1, 6):
            return (player, "P", "XP", "P", 8) if zone == 6 else (player, "H", "V8", "B", 1)
        high = not good_ball or self.random.random() < 0.4
        if zone == 4:
            return (player, "H", "V5", "F", 4) if high else (player, "T", "X5", "F", 4)
        return (player, "H", "V6", "B", 2) if high else (player, "T", "X6", "B", 2)

    # --- a rally ------------------------------------------------------------------------------
    def play_rally(self, serving):
        """Writes the rally's codes and returns the side that won it."""
        team, receiving = self.teams[serving], 1 - serving
        server = team.player(self.lineups[serving][0])
        kind = server.serve
        zones = dict(start=self.random.choice("16579"), end=self.random.choice("123456789"),
                     subzone=self.random.choice("ABCD"))
        serve = self.choose({"=": 9, "#": 6, "-": 24, "!": 20, "+": 30, "/": 11})
        self.add(make_code(team.mark, server.number, "S", kind, serve, **zones), self.trajectory())
        if serve == "=":
            return receiving
        reception = {"#": "=", "/": "/", "+": "-", "!": "!", "-": self.random.choice("#+")}[serve]
        receiver = self.receiver(receiving)
        self.tick()
        self.add(make_code(self.teams[receiving].mark, receiver.number, "R", kind, reception, **zones))
        if reception == "=":
            return serving
        if reception == "/":
            # The overpass comes back as a free ball to the serving team.
            self.tick()
            catcher = self.digger(serving)
            self.add(make_code(team.mark, catcher.number, "F", "H", self.random.choice("+#")))
            return self.attack_phase(serving, catcher, "+")
        return self.attack_phase(receiving, receiver, reception)

    def attack_phase(self, side, first_touch, quality):
        for _ in range(6):
            team, other = self.teams[side], self.teams[1 - side]
            good_ball = quality in "#+"
            attacker, kind, combination, target, start = self.attack_choice(side, good_ball)
            setter = self.setter(side, first_touch)
            set_evaluation = self.random.choice("#++" if good_ball else "+!-")
            call = self.random.choice(["K1", "K2", "K7"]) if good_ball and kind == "Q" else "~~"
            self.tick()
            self.add(make_code(team.mark, setter.number, "E", kind, set_evaluation, call, target))
            weights = {"#": 50, "=": 12, "/": 9, "-": 10, "!": 6, "+": 13}
            if set_evaluation == "-":
                weights.update({"#": 25, "-": 25})
            evaluation = self.choose(weights)
            blockers = "0" if kind == "P" else self.random.choice("123" if kind != "Q" else "12")
            self.tick()
            self.add(make_code(team.mark, attacker.number, "A", kind, evaluation, combination, target, str(start),
                               self.random.choice("156789"), self.random.choice("ABCD"),
                               self.random.choice("HHHPT"), blockers), self.trajectory())
            if evaluation == "#":
                if self.random.random() < 0.2:
                    self.add(make_code(other.mark, self.blocker(1 - side).number, "B", kind, "="))
                elif self.random.random() < 0.3:
                    self.add(make_code(other.mark, self.digger(1 - side).number, "D", kind, "="))
                return side
            if evaluation == "=":
                return 1 - side
            if evaluation == "/":
                self.add(make_code(other.mark, self.blocker(1 - side).number, "B", kind, "#"))
                return 1 - side
            if evaluation == "!":
                # Blocked back and covered: the attacking side plays again.
                self.add(make_code(other.mark, self.blocker(1 - side).number, "B", kind, "-"))
                self.tick()
                first_touch = self.digger(side)
                quality = self.random.choice("+!-")
                self.add(make_code(team.mark, first_touch.number, "D", kind, quality))
                continue
            if self.random.random() < 0.3:
                self.add(make_code(other.mark, self.blocker(1 - side).number, "B", kind, "+"))
            self.tick()
            digger = self.digger(1 - side)
            dig = self.random.choice("#+" if evaluation == "-" else "-!=+")
            self.add(make_code(other.mark, digger.number, "D", kind, dig))
            if dig == "=":
                return side
            if dig == "-":
                # The dig goes over: a free ball for the attacking side.
                self.tick()
                catcher = self.digger(side)
                self.add(make_code(team.mark, catcher.number, "F", "H", self.random.choice("+#")))
                first_touch, quality = catcher, "+"
                continue
            side, first_touch, quality = 1 - side, digger, dig
        # A long rally ends with a kill.
        team = self.teams[side]
        attacker = self.attack_choice(side, False)[0]
        self.tick()
        self.add(make_code(team.mark, attacker.number, "A", "H", "#", "V5", "F", "4", "6", "B", "H", "2"),
                 self.trajectory())
        return side

    # --- sets and the match -------------------------------------------------------------------
    def rotate(self, side):
        self.lineups[side] = self.lineups[side][1:] + self.lineups[side][:1]
        team = self.teams[side]
        self.add("%sz%d" % (team.mark, self.setter_zone(side)))

    def maybe_substitute(self, side):
        team = self.teams[side]
        if self.random.random() > 0.04:
            return
        front = [z for z in (2, 3, 4) if team.player(self.lineups[side][z - 1]).role in "HO"]
        if not front:
            return
        zone = self.random.choice(front)
        leaving = team.player(self.lineups[side][zone - 1])
        bench = [p for p in team.players if p.role == leaving.role and p.number not in self.lineups[side]]
        if not bench:
            return
        entering = self.random.choice(bench)
        self.lineups[side][zone - 1] = entering.number
        self.add("%sc%s:%s" % (team.mark, two_digits(leaving.number), two_digits(entering.number)))

    def play_set(self, serving):
        score = [0, 0]
        partials = []
        first_rally = self.rally + 1
        timeouts = [2, 2]
        for side in (0, 1):
            self.add("%sz%d" % (self.teams[side].mark, self.setter_zone(side)))
        self.tick(3)
        while True:
            self.rally += 1
            winner = self.play_rally(serving)
            self.tick(1)
            self.add(">ENDACT")
            score[winner] += 1
            mark = self.teams[winner].mark
            self.add("%sp%s:%s" % (mark, two_digits(score[0]), two_digits(score[1])))
            if winner != serving:
                self.rotate(winner)
                serving = winner
            if len(partials) < 3 and max(score) == PARTIAL_SCORES[len(partials)]:
                partials.append(tuple(score))
            if max(score) >= POINTS_PER_SET and abs(score[0] - score[1]) >= 2:
                break
            for side in (0, 1):
                if timeouts[side] and score[1 - side] - score[side] >= 3 and self.random.random() < 0.4:
                    timeouts[side] -= 1
                    self.tick(1)
                    self.add("%sT" % self.teams[side].mark)
                    self.pause(2, 30)
                self.maybe_substitute(side)
            self.pause(self.random.randint(1, 2), self.random.randint(12, 22))
        self.tick(1)
        self.add("**%dset" % self.set_no)
        minutes = round((self.rally - first_rally + 1) * REAL_SECONDS_PER_RALLY / 60)
        return SetResult(partials + [tuple(score)], tuple(score), minutes)

    def play_match(self):
        serving = 0
        while True:
            result = self.play_set(serving)
            self.sets.append(result)
            won = [sum(1 for s in self.sets if s.final[side] > s.final[1 - side]) for side in (0, 1)]
            if max(won) == SETS_TO_WIN:
                break
            self.set_no += 1
            serving = 1 - serving if self.set_no < 3 else self.random.randint(0, 1)
            self.lineups = [self.rotated_start(0), self.rotated_start(1)]
            self.pause(SET_BREAK_FILM, SET_BREAK_CLOCK)
        self.tick(8)
        return self.time


    def rotated_start(self, side):
        start = list(self.teams[side].starting)
        shift = (self.set_no - 1) % 6
        return start[shift:] + start[:shift]


def simulate_match(home, away, seed, start_clock):
    simulation = Simulation(home, away, seed, start_clock)
    end = simulation.play_match()
    codes = simulation.codes
    # The recording is split into two films at the serve nearest its middle.
    serves = [c.time for c in codes if c.skill == "S"]
    split = min(serves, key=lambda t: abs(t - end / 2)) - 3
    starts = [0, split]
    lengths = [split + 2, end - split]
    for code in codes:
        code.film = 1 if code.time < split else 2
        code.second = code.time - starts[code.film - 1]
    score = (0, 0)
    for code in codes:
        if code.text[:2] in ("*p", "ap"):
            score = (int(code.text[2:4]), int(code.text[5:7]))
        code.score = score
        if code.text.startswith("**"):
            score = (0, 0)
    return Match(home, away, codes, simulation.sets, starts, lengths, start_clock)


# --- the rally searches, as the player makes them --------------------------------------------------

def rally_search(codes, index, letter):
    """Whether the attack at index was made after the same team's reception ("r") or after another
    own touch that is neither a reception nor a set ("d") in the same rally."""
    candidate = codes[index].text
    for code in reversed(codes[:index]):
        text = code.text.ljust(10)
        if text[1] in "pzcT":
            return False
        if letter == "r" and text[3] == "R" and text[0] == candidate[0]:
            return True
        if letter == "d" and text[3] not in "RE" and text[0] == candidate[0]:
            return True
        if text[3] == "A":
            return False
    return False


# --- the scout file ---------------------------------------------------------------------------------

def score_text(score):
    return "%2d : %2d" % score


def code_line(code, clock_field, score_field=None):
    fields = [code.text, "", "", "", code.trajectory, "", "", clock_field, str(code.set_no),
              str(code.setters[0]), str(code.setters[1]), str(code.film), str(code.second), str(code.rally)]
    if score_field is not None:
        fields.append(score_field)
    return ";".join(fields)


def player_lines(team, side_index):
    lines = []
    for player in team.players:
        starts = [""] * 6
        fields = [str(side_index), str(player.number)] + starts + [
            "%s-%s" % (team.code, two_digits(player.number)), player.name, player.first, player.last,
            player.role, "", "", "", "", "", "", "", "", "", "", ""]
        lines.append(";".join(check_field_text(f) for f in fields))
    return lines


def header_sections(info, home, away, sets_won, sets, comments):
    lines = ["[3KESTRALINESCOUT]", "DEMO;Corvane demo disc;1", "[3MATCH]"]
    lines.append(";".join(info["match"]))
    lines.append(";".join(info["match2"]))
    lines.append("[3TEAMS]")
    lines.append(";".join([home.code, home.name, str(sets_won[0]), home.coach, home.assistant]))
    lines.append(";".join([away.code, away.name, str(sets_won[1]), away.coach, away.assistant]))
    lines.append("[3MORE]")
    lines.append(";".join(info["more"]))
    lines.append("[3COMMENTS]")
    lines.append(";".join(check_field_text(c) for c in comments))
    lines.append("[3SET]")
    for k in range(5):
        if k < len(sets):
            s = sets[k]
            lines.append(";".join(["True"] + ["%d-%d" % p for p in s.partials] + [str(s.minutes)]))
        else:
            lines.append("False;;;;;")
    lines.append("[3PLAYERS-H]")
    lines += player_lines(home, 0)
    lines.append("[3PLAYERS-V]")
    lines += player_lines(away, 1)
    lines += ["[3ATTACKCOMBINATION]", "X1;3;Q;C;Primo tempo", "X5;4;T;F;Veloce in 4", "V5;4;H;F;Palla alta in 4",
              "[3SETTERCALL]", "K1;Primo tempo davanti", "K2;Primo tempo dietro", "K7;Sette",
              "[3WINNINGSYMBOLS]", "=~~~#~~~=/~~#~~~=~~~~~~~#~~~~~~~=/~~#~~~=~~~~~~~#~~~~~~",
              "[3RESERVE]"]
    return lines


def scout_file_lines(match, info, comments):
    lines = header_sections(info, match.home, match.away, match.sets_won(), match.sets, comments)
    lines.append("[3SCOUT]")
    lines += [code_line(c, clock_text(c.clock)) for c in match.codes]
    return lines


# --- Stat.txt ----------------------------------------------------------------------------------------

def player_statistics(match, team):
    rows = []
    totals = [[0] * 5, [0] * 3, [0] * 3, [0] * 4, [0] * 2]
    for player in sorted(team.players, key=lambda p: p.number):
        codes = [c for c in match.codes if c.team == team.mark and c.number == player.number and c.skill]
        points = [0] * 5
        for c in codes:
            if (c.skill in "SAB") and c.evaluation == "#":
                points[c.set_no - 1] += 1

        def count(skill, evaluations=None):
            return sum(1 for c in codes if c.skill == skill and (evaluations is None or c.evaluation in evaluations))

        serve = [count("S"), count("S", "="), count("S", "#")]
        reception = [count("R"), count("R", "=/"), count("R", "#")]
        attack = [count("A"), count("A", "="), count("A", "/"), count("A", "#")]
        block = [count("B", "="), count("B", "#")]
        for total, values in zip(totals, (points, serve, reception, attack, block)):
            for i, v in enumerate(values):
                total[i] += v
        rows.append((two_digits(player.number), "%s %s" % (player.last, player.first), points, serve, reception,
                     attack, block))
    rows.append(("TO", "Totale squadra", *totals))
    lines = []
    played = len(match.sets)
    for number, name, points, serve, reception, attack, block in rows:
        per_set = [str(v) if k < played else "" for k, v in enumerate(points)]
        kill_rate = "%d%%" % round(100 * attack[3] / attack[0]) if attack[0] else ""
        fields = [number, name] + per_set + [str(v) for v in serve + reception + attack] + [kill_rate] + \
            [str(v) for v in block]
        assert len(fields) == 20
        lines.append(";".join(check_field_text(f) for f in fields))
    return lines


def stat_lines(match):
    return (["[testata]", "f_b;f_r;f_s;f_m", "[home]"] + player_statistics(match, match.home) +
            ["[opponent]"] + player_statistics(match, match.away))


# --- Eventi.txt --------------------------------------------------------------------------------------

SKILLS = {
    "S": ("Battuta", "Errore;Ottima;Facile;Media;Buona;Ace"),
    "R": ("Ricezione", "Errore;Slash;Scarsa;Media;Buona;Perfetta"),
    "E": ("Alzata", "Errore;Scarsa;Imprecisa;Media;Buona;Perfetta"),
    "A": ("Attacco", "Errore;Murato;Facile;Rigiocato;Difeso;Punto"),
    "B": ("Muro", "Errore;Invasione;Tocco;Ripreso;Buono;Punto"),
    "D": ("Difesa", "Errore;Slash;Scarsa;Media;Buona;Perfetta"),
    "F": ("Free ball", "Errore;Slash;Scarsa;Media;Buona;Perfetta"),
}
KINDS = {"S": {"Q": "in salto", "M": "float"}, "R": {"Q": "di battuta in salto", "M": "di battuta float"}}
BALLS = {"H": "palla alta", "Q": "primo tempo", "T": "palla tesa", "P": "pipe"}
ATTACK_EXTENSIONS = [("X1", "primo tempo davanti"), ("X7", "sette"), ("X2", "primo tempo dietro"),
                     ("X5", "veloce da zona 4"), ("V5", "alta da zona 4"), ("X6", "veloce da zona 2"),
                     ("V6", "alta da zona 2"), ("XP", "pipe da zona 6"), ("V8", "alta da zona 1")]
SETTER_EXTENSIONS = [("K1", "chiamata K1"), ("K2", "chiamata K2"), ("K7", "chiamata K7")]


def event_line(key, description, effects, extensions, flag):
    extension_text = EXTENSION_SEPARATOR.join(
        "~~~%s~%s%s%s" % (key, code, EXTENSION_TEXT_SEPARATOR, check_field_text(text)) for code, text in extensions)
    fields = ["~~~" + key, check_field_text(description), "1", key[0], description, "0", "", "0", "0", "",
              "0", "0", extension_text]
    # The effect texts and the fields after them also keep a line with no extensions whole: a
    # last empty field is no field, and a line of 12 fields ends the loading of the events.
    fields += [flag, key, "0", description.lower(), effects, "", "", key[0]]
    return "\t".join(fields)


def event_lines(match):
    used = sorted({c.text[3:5] for c in match.codes if c.skill})
    lines = []
    for key in used:
        skill, kind = key[0], key[1]
        name, effects = SKILLS[skill]
        if skill in KINDS:
            description = "%s %s" % (name, KINDS[skill][kind])
        elif skill in "BD":
            description = "%s su %s" % (name, BALLS[kind])
        elif skill == "F":
            description = name
        else:
            description = "%s %s" % (name, BALLS[kind])
        extensions = ATTACK_EXTENSIONS if skill == "A" else SETTER_EXTENSIONS if skill == "E" else []
        lines.append(event_line(key, description, effects, extensions, "1" if skill in "SA" else "0"))
    return lines
