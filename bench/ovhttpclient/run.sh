#!/usr/bin/env bash
# OvHttpClient's request time against floors measured in the same run: a blocking Winsock
# client and a one-thread WSAAsyncSelect client, the library from C++ through its vtable and from
# JScript, and Wine's WinHttp.WinHttpRequest.5.1 from JScript (the 64-bit cscript). Each round
# runs every client once: N sequential GETs of a 1 KiB page and one GET of a 64 MiB body, served
# by nginx on 127.0.0.1 with "Connection: close" responses. The rounds run once with the
# wineserver and the clients pinned to one CPU (taskset) and once free.
#
#   bash bench/ovhttpclient/run.sh [--rounds R] [--count N] [--phases pinned,free] [--cpu C]
#   (defaults: 7 rounds, N = 500, both phases, CPU 0)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY all_proxy ALL_PROXY

tools/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target OvHttpClient ovhttp_bench_client >/dev/null
# A prefix of the benchmark's own: its wineserver is restarted pinned and free.
export VIGIL_WINE_BITS=64 VIGIL_WINE_PREFIX=$root/build/win64/wineprefix-bench

work=$(mktemp -d /tmp/ovhttp-bench.XXXXXX)
chmod 755 "$work"
nginx_pid=""
cleanup() {
    [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null || true
    tools/wine-run.sh regsvr32 /s /u "Z:${root//\//\\}\\build\\win64\\ovhttpclient\\OvHttpClient.dll" \
        >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/www" "$work/temp" "$work/logs"
head -c 1024 /dev/zero | tr '\0' 'k' >"$work/www/1k.txt"
head -c $((64 * 1024 * 1024)) /dev/zero | tr '\0' 'm' >"$work/www/64m.txt"
chmod -R a+rX "$work/www"
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
cat >"$work/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx.pid;
error_log $work/logs/error.log;
events { worker_connections 256; }
http {
    access_log off;
    keepalive_timeout 0;
    sendfile on;
    client_body_temp_path $work/temp/body;
    proxy_temp_path $work/temp/proxy;
    fastcgi_temp_path $work/temp/fastcgi;
    uwsgi_temp_path $work/temp/uwsgi;
    scgi_temp_path $work/temp/scgi;
    types { text/plain txt; }
    server {
        listen 127.0.0.1:$port;
        root $work/www;
    }
}
CONF
nginx -p "$work" -c "$work/nginx.conf" </dev/null >/dev/null 2>&1 &
nginx_pid=$!
for _ in $(seq 50); do
    /usr/bin/python3 -c "import socket,sys; s=socket.socket(); sys.exit(s.connect_ex(('127.0.0.1',$port)))" && break
    sleep 0.1
done

tools/wine-run.sh regsvr32 /s "Z:${root//\//\\}\\build\\win64\\ovhttpclient\\OvHttpClient.dll"
echo "nginx on 127.0.0.1:$port"
/usr/bin/python3 bench/ovhttpclient/bench.py --root "$root" --prefix "$VIGIL_WINE_PREFIX" \
    --client "$root/build/win64/bench/ovhttpclient/ovhttp_bench_client.exe" --port "$port" "$@"
