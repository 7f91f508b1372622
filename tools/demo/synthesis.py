"""A volleyball synthesis: chosen actions of two matches cut into one reel, with the analyses
that list them."""

from dataclasses import dataclass

import volleyball
from textfiles import ini_lines

CLIP_SECONDS = 6
LEAD_SECONDS = 3  # the reel starts with a short lead before the first clip


@dataclass
class Analysis:
    name: str
    kind: str            # "A" an analysis, "T" a title
    main_code: str = ""
    team: str = ""
    test: object = None  # test(codes, index) -> bool, the actions the analysis collects
    per_match: int = 0


def _skill(skill, evaluation=None):
    def test(codes, index):
        code = codes[index]
        return code.team == "*" and code.skill == skill and (evaluation is None or code.evaluation == evaluation)
    return test


def _rally(letter):
    def test(codes, index):
        code = codes[index]
        return code.team == "*" and code.skill == "A" and volleyball.rally_search(codes, index, letter)
    return test


ANALYSES = [
    Analysis("Falchi in attacco", "T"),
    Analysis("Attacchi vincenti", "A", "*~~A~#", "0", _skill("A", "#"), 2),
    Analysis("Attacchi dopo ricezione", "A", "~~~r", "0", _rally("r"), 2),
    Analysis("Contrattacchi", "A", "~~~d", "0", _rally("d"), 2),
    Analysis("Muro e battuta", "T"),
    Analysis("Muri punto", "A", "~~~B~#", "0", _skill("B", "#"), 2),
    Analysis("Ace", "A", "~~~S~#", "0", _skill("S", "#"), 2),
    # Chosen for no action of these matches: the player hides it.
    Analysis("Battute sbagliate al quinto set", "A", "~~~S~=", "0", lambda codes, index: False, 2),
    Analysis("Ricezioni perfette", "A", "~~~R~#", "0", _skill("R", "#"), 2),
]


@dataclass
class Clip:
    analysis: int
    match: int
    code: object


def choose_clips(matches):
    clips = []
    for index, analysis in enumerate(ANALYSES):
        if analysis.kind != "A":
            continue
        for number, match in enumerate(matches):
            found = [c for i, c in enumerate(match.codes) if analysis.test(match.codes, i)]
            # Spread the picks over the match rather than taking its first actions.
            step = max(1, len(found) // max(1, analysis.per_match))
            clips += [Clip(index, number, c) for c in found[::step][:analysis.per_match]]
    return clips


def film_seconds(clips):
    return LEAD_SECONDS + CLIP_SECONDS * len(clips) + 4


def scout_file_lines(matches, clips, info, comments, matches_data):
    first = matches[0]
    won = first.sets_won()
    lines = volleyball.header_sections(info, first.home, first.away, won, first.sets, comments)
    lines.append("[3SCOUT]")
    for number, clip in enumerate(clips):
        code = volleyball.Code(**{**clip.code.__dict__})
        code.film = 1
        code.second = LEAD_SECONDS + CLIP_SECONDS * number
        lines.append(volleyball.code_line(code, str(clip.analysis), volleyball.score_text(clip.code.score)))
    lines.append("[3MATCHES_DATA]")
    lines += [";".join(fields) for fields in matches_data]
    return lines


def analysis_file_lines():
    sections = []
    for analysis in ANALYSES:
        sections.append((analysis.name, [
            ("tipo", analysis.kind), ("team", analysis.team), ("main_code", analysis.main_code),
            ("team_rot", "0"), ("rot_zone", "0"), ("set", ""), ("phase", "0"), ("adv_codes", ""),
            ("seconds_prev", "0"), ("seconds_len", str(CLIP_SECONDS)), ("play_end_rally", "1"),
            ("automatic_stop", "0"), ("folder", "")]))
    return ini_lines(sections)

