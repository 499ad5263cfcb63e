#!/usr/bin/env bash
# Starts the demo site on loopback and the program on its page. The site's
# folder and the program's settings live in one temporary folder, never in
# the user's own; closing the program stops the servers and removes it.
# Usage: scripts/demo.sh [PROGRAM]   (default: build/host/tavrisk)
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/host/tavrisk}
demo=$(mktemp -d "${TMPDIR:-/tmp}/tavrisk-demo-XXXXXX")
servers=""
cleanup() {
  [ -n "$servers" ] && kill "$servers" 2>/dev/null && wait "$servers" 2>/dev/null
  rm -rf "$demo"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$demo/site" "$demo/home/config"
cp share/tavrisk/demo/* "$demo/site/"
# Debian's Python, which has pyftpdlib; a python3 earlier on PATH may not.
coproc SERVERS {
  exec /usr/bin/python3 -u scripts/demo_servers.py "$demo/site" demo demo 2>"$demo/servers.log"
}
servers=$SERVERS_PID
read -r http_port ftp_port <&"${SERVERS[0]}"
site="http://127.0.0.1:$http_port"

cat >"$demo/home/config/tavrisk.ini" <<INI
[Tavrisk.siteweb.Strings]
Count=1
Item0=$site

[Tavrisk.ftpserver.Strings]
Count=1
Item0=127.0.0.1:$ftp_port

[Tavrisk.ftplogin.Strings]
Count=1
Item0=demo

[Tavrisk.ftppassword.Strings]
Count=1
Item0=demo

[Tavrisk.ftpinitialfolder.Strings]
Count=1
Item0=
INI
echo "Demo site: $site/index.htm (FTP on 127.0.0.1:$ftp_port, user demo, password demo)"
TAVRISK_HOME="$demo/home" "$program" "$site/index.htm"
