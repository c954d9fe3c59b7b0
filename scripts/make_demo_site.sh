#!/usr/bin/env bash
# Writes a small sample web site into the folder given as $1.
set -euo pipefail
root="$1"
mkdir -p "$root/www/css" "$root/www/js" "$root/www/images" "$root/www/Über uns" "$root/backup"
cat > "$root/www/index.html" <<'HTML'
<!DOCTYPE html>
<html lang="en">
<head><meta charset="utf-8"><title>Holmvik Bakery</title><link rel="stylesheet" href="css/style.css"></head>
<body>
<h1>Holmvik Bakery</h1>
<p>Fresh bread every morning since 1987.</p>
<script src="js/app.js"></script>
</body>
</html>
HTML
printf 'body { font-family: sans-serif; margin: 2em; }\nh1 { color: #2b4c7e; }\n' > "$root/www/css/style.css"
printf 'document.addEventListener("DOMContentLoaded", () => {\n  console.log("ready");\n});\n' > "$root/www/js/app.js"
printf '<h2>Über uns</h2>\n<p>Grüße aus Holmvik!</p>\n' > "$root/www/Über uns/index.html"
printf 'RewriteEngine On\nRewriteRule ^old$ /index.html [R=301,L]\n' > "$root/www/.htaccess"
printf 'Notes with spaces in the name.\r\nSecond line.\r\n' > "$root/www/my notes 2026.txt"
# A small binary file: a 1x1 PNG.
printf '\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\x00\x00\x00\x01\x00\x00\x00\x01\x08\x06\x00\x00\x00\x1f\x15\xc4\x89\x00\x00\x00\rIDATx\x9cc\xf8\x0f\x00\x00\x01\x01\x00\x05\x18\xd8N\x00\x00\x00\x00IEND\xaeB`\x82' > "$root/www/images/logo.png"
head -c 200000 /dev/urandom > "$root/backup/site-2026-12.tar.gz"
printf 'User-agent: *\nDisallow:\n' > "$root/www/robots.txt"
