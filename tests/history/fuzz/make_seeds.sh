#!/usr/bin/env bash
# Seed folders for the reader fuzzers (drawfile, drawlist, schemelist, versionlog):
#   make_seeds.sh <out> [<shared data folder>]
# then e.g.  bin/drawfile_fuzz -max_total_time=600 corpus <out>/drawfile
set -euo pipefail
out=${1:-seeds}
data=${2:-$(dirname "$0")/../../../../shared/data}
mkdir -p "$out"/{drawfile,drawlist,schemelist,versionlog}
if [ -f "$data/HAO.TXT" ]; then
  head -c 600 "$data/HAO.TXT" > "$out/drawfile/hao_head"
  tail -c 240 "$data/HAOP3.TXT" > "$out/drawfile/p3_tail"
fi
printf '2024001 1231\n2024002 12\r\n2024003 12a12024004 1230' > "$out/drawfile/mixed"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<xml>\n  <row expect="2024103" opencode="1,2,3" opentime="x"/>\n  <row expect="2024102" opencode="4,5,6"/>\n  <row expect="2024101" opencode="7,8,9"/>\n</xml>\n' > "$out/drawlist/utf8"
printf '<?xml version="1.0" encoding="gb2312"?><xml><row expect="24101" opencode="1,2,3"/><row expect="24102" opencode="0,0,0"/></xml>' > "$out/drawlist/gb"
printf '<r><a z="2024101" a="1,2,3" b="x"/><!-- c --><a z="2024100" a="4,5,6"/><a/></r>' > "$out/drawlist/short"
cond=$(printf '%-69s' "a(1) < a(2) And a(2) < a(3)")"then '方案01"
rec="2024101 123 $cond 周期010 验证020 左1 5 xxxxxxxxxxxxxxxxxxxx.txt"
printf '%s' "$rec" > "$out/schemelist/line"
printf '<?xml version="1.0" encoding="utf-8"?>\n<list>\n  <r v="%s" x="y"/>\n  <r v="[a]  ends.txt"/>\n</list>\n' "$rec" > "$out/schemelist/list"
printf '5\r\nhttp://h/3Dbak.exe\r\n' > "$out/versionlog/plain"
printf ' -1 \n\xc7\xeb\xcf\xc2\xd4\xd8\n' > "$out/versionlog/notice"
printf '32768\r\nx\r\n' > "$out/versionlog/overflow"
printf '1.5e3\nx' > "$out/versionlog/fraction"
echo "seeds in $out"
