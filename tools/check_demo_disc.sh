#!/usr/bin/env bash
# Checks a demo disc made by tools/make_demo_disc.sh: every file is there, every film has the
# container, codec, size, sound and length it should, and every code's second lies in its film.
#
#   check_demo_disc.sh OUTDIR
set -euo pipefail

(($# == 1)) || { echo "usage: $0 OUTDIR" >&2; exit 2; }
disc="$1"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok    $*"; }

volley="Tlx_Video/2026-11-28_Volley_Falchi-Delfini"
synthesis="Tlx_Video/syn_Falchi_Stagione_2026"
basket="Tlx_Video/2026-12-02_Basket_Aquile-Lupi"
handball="Tlx_Video/2026-12-05_Pallamano_Orsi-Cinghiali"

files=(
  System/Language.cfg System/Messages0.txt System/Messages1.txt
  System/Mpeg1.GRF System/Mpeg1_Audio.GRF System/Mpeg2_ADS.GRF System/Mpeg2_ADS_Audio.GRF
  System/Mpeg2_ADS_Audio_c.GRF
  "$volley"/{Match.cfg,FilmList.cfg,Falchi-Delfini.vsc,Stat.txt,Eventi.txt,Film01.mpg,Film02.mpg}
  "$synthesis"/{Match.cfg,FilmList.cfg,Sintesi.vsc,Analisi.ini,Eventi.txt,Sintesi01.mpg}
  "$basket"/{Match.cfg,FilmList.cfg,Aquile-Lupi.sco,Stat.txt,Eventi.txt,Film01.mp4}
  "$handball"/{Match.cfg,FilmList.cfg,Orsi-Cinghiali.sco,Stat.txt,Eventi.txt,Film01.mpg}
)
for file in "${files[@]}"; do
  if [[ -s "$disc/$file" ]]; then pass "$file"; else fail "$file is missing or empty"; fi
done

check_film() {  # file format video-codec width height has-sound seconds
  local file="$disc/$1" format="$2" codec="$3" width="$4" height="$5" sound="$6" seconds="$7"
  [[ -f "$file" ]] || return 0
  local found
  found="$(ffprobe -v error -show_entries format=format_name -of default=nw=1:nk=1 "$file")"
  [[ "$found" == "$format" ]] && pass "$1 container $found" || fail "$1 container $found, not $format"
  found="$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height \
           -of default=nw=1:nk=1 "$file" | paste -sd' ')"
  [[ "$found" == "$codec $width $height" ]] && pass "$1 video $found" ||
    fail "$1 video '$found', not '$codec $width $height'"
  found="$(ffprobe -v error -select_streams a -show_entries stream=codec_name -of csv=p=0 "$file" | awk 'NR == 1')"
  if ((sound)); then
    [[ -n "$found" ]] && pass "$1 sound $found" || fail "$1 has no sound"
  else
    [[ -z "$found" ]] && pass "$1 without sound" || fail "$1 has sound ($found)"
  fi
  found="$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$file")"
  if awk -v d="$found" -v s="$seconds" 'BEGIN { exit !(d >= s - 1 && d <= s + 1) }'; then
    pass "$1 lasts ${found%.*} s"
  else
    fail "$1 lasts $found s, not $seconds"
  fi
}

# The length each film was planned with, recorded beside the packages when it was made.
length_of() {
  local key="$disc/.corvane-demo-films/$(echo "$1" | tr '/' '_').args"
  [[ -f "$key" ]] && cut -d' ' -f3 "$key" || echo 0
}

check_film "$volley/Film01.mpg" mpeg mpeg2video 720 576 1 "$(length_of "$volley/Film01.mpg")"
check_film "$volley/Film02.mpg" mpeg mpeg2video 720 576 1 "$(length_of "$volley/Film02.mpg")"
check_film "$synthesis/Sintesi01.mpg" mpeg mpeg1video 352 288 1 "$(length_of "$synthesis/Sintesi01.mpg")"
check_film "$basket/Film01.mp4" "mov,mp4,m4a,3gp,3g2,mj2" h264 1280 720 1 "$(length_of "$basket/Film01.mp4")"
check_film "$handball/Film01.mpg" mpeg mpeg2video 720 576 0 "$(length_of "$handball/Film01.mpg")"

# The basketball film's key frames are about 10 s apart.
if [[ -f "$disc/$basket/Film01.mp4" ]]; then
  keys="$(ffprobe -v error -select_streams v -skip_frame nokey -show_entries frame=pts_time -of csv=p=0 \
          "$disc/$basket/Film01.mp4" | awk -F, '$1 != "" && ++n <= 3 { print $1 }' | paste -sd' ')"
  read -r first second _ <<<"$keys"
  if awk -v a="$first" -v b="$second" 'BEGIN { exit !(b - a >= 9.5 && b - a <= 10.5) }'; then
    pass "$basket/Film01.mp4 key frames at $keys"
  else
    fail "$basket/Film01.mp4 key frames at $keys, not 10 s apart"
  fi
fi

# Every code's second lies inside its film.
check_seconds() {  # scout file, film files in order, field of the film, field of the second
  local scout="$disc/$1" film_field="$3" second_field="$4"
  local -a lengths=()
  local film
  for film in $2; do
    lengths+=("$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$disc/$film")")
  done
  local outside
  outside="$(tr -d '\r' <"$scout" | awk -F';' -v films="${lengths[*]}" -v ff="$film_field" -v sf="$second_field" '
    BEGIN { n = split(films, length_of, " ") }
    /^\[/ { scout = tolower($0) == "[3scout]" || tolower($0) == "[scout]"; next }
    scout && NF > sf { f = $(ff + 1); s = $(sf + 1); if (f < 1 || f > n || s < 0 || s >= length_of[f]) bad++ }
    END { print bad + 0 }')"
  ((outside == 0)) && pass "$1: every code lies inside its film" || fail "$1: $outside codes outside their films"
}
[[ -f "$disc/$volley/Falchi-Delfini.vsc" ]] &&
  check_seconds "$volley/Falchi-Delfini.vsc" "$volley/Film01.mpg $volley/Film02.mpg" 11 12
[[ -f "$disc/$synthesis/Sintesi.vsc" ]] && check_seconds "$synthesis/Sintesi.vsc" "$synthesis/Sintesi01.mpg" 11 12
[[ -f "$disc/$basket/Aquile-Lupi.sco" ]] && check_seconds "$basket/Aquile-Lupi.sco" "$basket/Film01.mp4" 3 4

# The enciphered scout file holds no plain line.
if [[ -f "$disc/$handball/Orsi-Cinghiali.sco" ]]; then
  if tr -d '\r' <"$disc/$handball/Orsi-Cinghiali.sco" | grep -qv '^[A-Za-z0-9+/=]*$'; then
    fail "$handball/Orsi-Cinghiali.sco has lines that are not Base64"
  else
    pass "$handball/Orsi-Cinghiali.sco is enciphered line by line"
  fi
fi

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "the demo disc in $disc is complete"
