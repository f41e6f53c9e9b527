#!/usr/bin/env bash
# Writes the help that ships beside the programs into one folder:
#
#   bash scripts/render_docs.sh OUTDIR
#
# OUTDIR (created when missing) receives
#   language.html     docs/language.md, the script language reference, as HTML
#   loomwright.html   help/loomwright.html, the composer's help (its Help menu opens it)
#   tessdeck.html     help/tessdeck.html, the launcher pad's help
#   images/*.png      the help pages' screenshots (help/images/)
# and nothing else. Needs python3-markdown from the Debian archive
# (scripts/setup.sh installs it). Exit status 0 when every file was written.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 1 ] || [ -z "$1" ]; then
  echo "usage: bash scripts/render_docs.sh OUTDIR" >&2
  exit 1
fi
out=$1
# The archive's python, not one a user may have put first on PATH.
py=/usr/bin/python3
if ! "$py" -c 'import markdown' 2>/dev/null; then
  echo "render_docs: python3-markdown is missing: run bash scripts/setup.sh" >&2
  exit 1
fi

mkdir -p "$out/images"
"$py" - docs/language.md "$out/language.html" <<'EOF'
import html, sys
import markdown

source, target = sys.argv[1], sys.argv[2]
with open(source, encoding="utf-8") as f:
    text = f.read()
title = next((l[2:].strip() for l in text.splitlines() if l.startswith("# ")), "Taskloom")
body = markdown.markdown(text, extensions=["tables", "fenced_code", "toc"], output_format="html")
style = """
body { font-family: Segoe UI, Tahoma, Arial, sans-serif; font-size: 15px; line-height: 1.5;
       max-width: 52em; margin: 1.5em auto; padding: 0 1em; color: #222; }
h1, h2, h3 { color: #1d4e6e; }
h2 { border-bottom: 1px solid #c8d6e0; padding-bottom: .2em; margin-top: 1.8em; }
code, pre { font-family: Consolas, Courier New, monospace; font-size: 14px; }
pre { background: #f3f6f8; border: 1px solid #d7e0e6; padding: .6em .8em; overflow-x: auto; }
pre code.language-tks-findings { color: #8a2b06; }
table { border-collapse: collapse; margin: .6em 0; }
th, td { border: 1px solid #c8d6e0; padding: .25em .6em; text-align: left; vertical-align: top; }
th { background: #e8eff4; }
"""
page = f"""<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>{html.escape(title)}</title>
<style>{style}</style>
</head>
<body>
{body}
<p><a href="loomwright.html">Loomwright help</a> &middot; <a href="tessdeck.html">Tessdeck help</a></p>
</body>
</html>
"""
with open(target, "w", encoding="utf-8", newline="\r\n") as f:
    f.write(page)
EOF

cp help/loomwright.html help/tessdeck.html "$out/"
shopt -s nullglob
images=(help/images/*.png)
if [ ${#images[@]} -gt 0 ]; then
  cp "${images[@]}" "$out/images/"
fi
echo "render_docs: wrote $out/language.html, loomwright.html, tessdeck.html and ${#images[@]} images"
