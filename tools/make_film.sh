#!/usr/bin/env bash
# Makes one test film with the ffmpeg command.
#
#   make_film.sh OUT --codec mpeg2|mpeg1|h264 --size WxH --seconds N
#                [--fps 25] [--audio] [--gop N] [--bitrate KBITS] [--label TEXT] [--pattern] [--noise]
#                [--channels N,N...]
#
# The background is colour bars with the label moving across them; --pattern puts a moving test
# pattern behind instead, which costs about half as much again to encode. --noise puts grain that
# changes every frame on the moving pattern: no two frames alike, as in a camera's film, so that
# the film costs its decoder what real footage of its bit rate costs. The bit rate is then held
# to at most a quarter above the one asked for.
#
# --channels gives the sound (implied) that many channels; a list of counts, e.g. 2,1,6, splits
# the film's length into as many equal parts whose sound has those counts, as broadcast and DV
# footage change their sound's layout partway. Such a film is AC-3 sound in an MPEG-TS file
# (the containers that carry a change of layout), whatever the codec.
#
# Every frame carries a block code in its top-left corner (read back by tests/support/frame_stamp.cpp)
# and a visible time code. The block code, in units of a grid cell of width W/32 and height H/24:
#   a mid-grey panel covering columns 0-13 and rows 0-4;
#   three rows of twelve cells in columns 1-12, rows 1-3;
#   columns 1-2 are guards: white, black on rows 1 and 3; black, white on row 2;
#   columns 3-12 hold 30 bits, white for 1, least significant first, row after row:
#     bits 0-15 the whole second, bits 16-21 the frame within the second, bits 22-29 a check byte
#     (second mod 256 + 3 * (second div 256) + 7 * frame + 165) mod 256.
# The second of frame n is floor((n + 0.5) / fps): exact for every integer frame count.
set -euo pipefail

usage() {
  echo "usage: $0 OUT --codec mpeg2|mpeg1|h264 --size WxH --seconds N [--fps 25] [--audio] [--gop N]" \
       "[--bitrate KBITS] [--label TEXT] [--pattern] [--noise] [--channels N,N...]" >&2
  exit 2
}

(($# >= 1)) || usage
out="$1"
shift
codec="" size="" seconds="" fps=25 audio=0 gop="" bitrate="" label="Corvane" pattern=0 noise=0 channels=""
while (($#)); do
  case "$1" in
    --codec) codec="${2:-}"; shift 2 ;;
    --size) size="${2:-}"; shift 2 ;;
    --seconds) seconds="${2:-}"; shift 2 ;;
    --fps) fps="${2:-}"; shift 2 ;;
    --audio) audio=1; shift ;;
    --gop) gop="${2:-}"; shift 2 ;;
    --bitrate) bitrate="${2:-}"; shift 2 ;;
    --label) label="${2:-}"; shift 2 ;;
    --pattern) pattern=1; shift ;;
    --noise) noise=1; pattern=1; shift ;;
    --channels) channels="${2:-}"; audio=1; shift 2 ;;
    *) echo "unknown option: $1" >&2; usage ;;
  esac
done

[[ "$size" =~ ^([0-9]+)x([0-9]+)$ ]] || { echo "--size must be WxH" >&2; usage; }
width=${BASH_REMATCH[1]} height=${BASH_REMATCH[2]}
((width >= 64 && height >= 48 && width % 2 == 0 && height % 2 == 0)) ||
  { echo "--size: width and height must be even, at least 64x48" >&2; exit 2; }
[[ "$seconds" =~ ^[0-9]+$ ]] && ((seconds >= 1 && seconds < 65536)) ||
  { echo "--seconds must be a whole number from 1 to 65535" >&2; exit 2; }
[[ "$fps" =~ ^[0-9]+$ ]] && ((fps >= 1 && fps <= 60)) ||
  { echo "--fps must be a whole number from 1 to 60" >&2; exit 2; }
if [[ -n "$gop" ]]; then
  [[ "$gop" =~ ^[0-9]+$ ]] && ((gop >= 1)) || { echo "--gop must be a positive number" >&2; exit 2; }
fi
if [[ -n "$bitrate" ]]; then
  [[ "$bitrate" =~ ^[0-9]+$ ]] && ((bitrate >= 50)) || { echo "--bitrate is in kbit/s" >&2; exit 2; }
fi
if [[ -n "$channels" ]]; then
  [[ "$channels" =~ ^[1-8](,[1-8])*$ ]] || { echo "--channels is a list of counts from 1 to 8, e.g. 2,1" >&2; exit 2; }
fi
[[ "$label" != *[\'\\%:]* ]] || { echo "--label may not contain ' \\ % or :" >&2; exit 2; }

font=/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf
[[ -r "$font" ]] || { echo "missing $font: apt-get install fonts-dejavu-core" >&2; exit 1; }
command -v ffmpeg >/dev/null || { echo "ffmpeg is not installed" >&2; exit 1; }

pixels_per_second=$((width * height * fps))
# The most the rate control may spend for a while: twice the bit rate, or a quarter more on grain,
# which would otherwise take all it is given.
peak() { if ((noise)); then echo $((bitrate * 5 / 4)); else echo $((bitrate * 2)); fi; }
case "$codec" in
  mpeg2)
    : "${bitrate:=$((pixels_per_second / 5200))}"
    : "${gop:=12}"
    video=(-c:v mpeg2video -b:v "${bitrate}k" -maxrate "$(peak)k" -bufsize 1835k -g "$gop" -bf 2)
    sound=(-c:a mp2 -b:a 192k -ar 48000)
    format=(-f vob) ;;
  mpeg1)
    : "${bitrate:=$((pixels_per_second / 3000))}"
    : "${gop:=12}"
    video=(-c:v mpeg1video -b:v "${bitrate}k" -maxrate "$(peak)k" -bufsize 2000k -mbd rd -g "$gop" -bf 2)
    sound=(-c:a mp2 -b:a 128k -ar 44100)
    format=(-f mpeg) ;;
  h264)
    : "${bitrate:=$((pixels_per_second / 15000))}"
    : "${gop:=$((fps * 2))}"
    encoders="$(ffmpeg -hide_banner -encoders 2>/dev/null)"
    if [[ "$encoders" == *" libx264 "* ]]; then
      video=(-c:v libx264 -preset ultrafast -x264-params bframes=2:b-adapt=0 -b:v "${bitrate}k" -maxrate "$(peak)k"
             -bufsize "$((bitrate * 2))k" -g "$gop" -keyint_min "$gop" -sc_threshold 0 -pix_fmt yuv420p
             -threads 1)  # with frame threads the rate control depends on timing: no two films alike
    elif [[ "$encoders" == *" libopenh264 "* ]]; then
      video=(-c:v libopenh264 -b:v "${bitrate}k" -g "$gop" -pix_fmt yuv420p)
    else
      echo "no H.264 encoder: using the mpeg4 encoder" >&2
      video=(-c:v mpeg4 -b:v "${bitrate}k" -g "$gop" -pix_fmt yuv420p)
    fi
    sound=(-c:a aac -b:a 128k -ar 48000)
    format=(-f mp4 -movflags +faststart) ;;
  *) echo "--codec must be mpeg2, mpeg1 or h264" >&2; usage ;;
esac

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Cell edges are rounded once, so neighbouring cells share their edges exactly.
cell_x() { echo $(($1 * width / 32)); }
cell_y() { echo $(($1 * height / 24)); }
box() {  # col0 row0 col1 row1 colour [enable]
  local x0 y0 x1 y1
  x0=$(cell_x "$1") y0=$(cell_y "$2") x1=$(cell_x "$3") y1=$(cell_y "$4")
  printf "drawbox=x=%d:y=%d:w=%d:h=%d:color=%s:t=fill" "$x0" "$y0" $((x1 - x0)) $((y1 - y0)) "$5"
  [[ -z "${6:-}" ]] || printf ":enable='%s'" "$6"
  printf ",\n"
}

second="floor((n+0.5)/$fps)"
frame="(n-$fps*$second)"
check="mod(mod($second,256)+3*floor($second/256)+7*$frame+165,256)"
bit_of() { echo "mod(floor($1/$((1 << $2))),2)"; }

{
  box 0 0 14 5 0x808080
  box 1 1 13 4 black
  box 1 1 2 2 white
  box 2 2 3 3 white
  box 1 3 2 4 white
  for ((i = 0; i < 30; i++)); do
    row=$((1 + i / 10)) col=$((3 + i % 10))
    if ((i < 16)); then value="$second" k=$i
    elif ((i < 22)); then value="$frame" k=$((i - 16))
    else value="$check" k=$((i - 22))
    fi
    box "$col" "$row" $((col + 1)) $((row + 1)) white "$(bit_of "$value" "$k")"
  done
  fontsize=$((height / 9 < width / 14 ? height / 9 : width / 14))
  printf "drawtext=fontfile=%s:textfile=%s:fontsize=%d:fontcolor=white:box=1:boxcolor=black@0.6" \
         "$font" "$work/timecode.txt" "$fontsize"
  printf ":boxborderw=%d:x=(w-text_w)/2:y=h*0.62" $((fontsize / 5))
  printf ",\ndrawtext=fontfile=%s:text='%s':fontsize=%d:fontcolor=yellow:box=1:boxcolor=black@0.5" \
         "$font" "$label" $((height / 16))
  printf ":x='w-mod(n*%d,w+text_w)':y=h*0.4\n" $((width / 150 + 1))
} >"$work/filters.txt"

eif() { printf '%%{eif:%s:d:%d}' "$1" "$2"; }
{
  eif "floor($second/3600)" 2; printf ':'
  eif "mod(floor($second/60),60)" 2; printf ':'
  eif "mod($second,60)" 2; printf ':'
  eif "$frame" 2; printf '  '
  eif "$second" 4; printf 's %s' "$(eif "$frame" 2)"
} >"$work/timecode.txt"

background="smptehdbars=size=${width}x${height}:rate=$fps:duration=$seconds"
((pattern)) && background="${background/smptehdbars/testsrc2}"
# The grain goes under the stamp, which stays readable.
((noise)) && background+=",noise=alls=16:allf=t+u"
inputs=(-f lavfi -i "$background")
maps=(-map 0:v)
IFS=, read -r -a channel_counts <<<"${channels:-0}"
if ((${#channel_counts[@]} > 1)); then
  # Each part's sound encoded on its own, the AC-3 streams joined end to end: one stream whose
  # layout changes where the parts meet.
  parts=${#channel_counts[@]}
  for ((i = 0; i < parts; i++)); do
    from=$(awk -v s="$seconds" -v i="$i" -v n="$parts" 'BEGIN { printf "%.6f", s * i / n }')
    length=$(awk -v s="$seconds" -v i="$i" -v n="$parts" 'BEGIN { printf "%.6f", s * (i + 1) / n - s * i / n }')
    ffmpeg -hide_banner -nostdin -loglevel error -y -f lavfi \
      -i "sine=frequency=440:beep_factor=2:sample_rate=48000:duration=$seconds" -ss "$from" -t "$length" \
      -ac "${channel_counts[$i]}" -c:a ac3 -b:a 192k -f ac3 "$work/sound-$i.ac3"
    cat "$work/sound-$i.ac3" >>"$work/sound.ac3"
  done
  inputs+=(-f ac3 -i "$work/sound.ac3")
  maps+=(-map 1:a -c:a copy)
  format=(-f mpegts)
elif ((audio)); then
  inputs+=(-f lavfi -i "sine=frequency=440:beep_factor=2:sample_rate=48000:duration=$seconds")
  maps+=(-map 1:a "${sound[@]}")
  ((channel_counts[0] == 0)) || maps+=(-ac "${channel_counts[0]}")
fi

mkdir -p "$(dirname "$out")"
tmp_out="$(dirname "$out")/.$(basename "$out").part"
ffmpeg -hide_banner -nostdin -loglevel error -y "${inputs[@]}" -filter_script:v "$work/filters.txt" \
  "${maps[@]}" "${video[@]}" -t "$seconds" "${format[@]}" "$tmp_out"
mv -f "$tmp_out" "$out"
