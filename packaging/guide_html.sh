#!/usr/bin/env bash
# Writes the guide (Markdown) as one web page in UTF-8, with its tables:
#   packaging/guide_html.sh docs/使用说明.md OUT.html
# For the zip and the .deb, where it opens with a double click beside the
# pictures it shows.
set -euo pipefail
in=$1 out=$2
title=$(sed -n '1s/^# //p' "$in")
body=$(/usr/bin/python3 -m markdown -x tables -x fenced_code "$in")
{
  printf '<!DOCTYPE html>\n<html lang="zh-CN">\n<head>\n<meta charset="utf-8">\n<title>%s</title>\n' "$title"
  printf '<style>body{max-width:52em;margin:auto;padding:1em;font-family:sans-serif;line-height:1.6}'
  printf 'table{border-collapse:collapse}td,th{border:1px solid #999;padding:.3em .6em}'
  printf 'code,pre{background:#f4f4f4}img{max-width:100%%}</style>\n</head>\n<body>\n'
  printf '%s\n' "$body"
  printf '</body>\n</html>\n'
} >"$out"
