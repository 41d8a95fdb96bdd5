#!/usr/bin/env python3
"""Serves the browser build (build/web) on 127.0.0.1 for a player to open."""
import argparse
import functools
import gzip
import http.server
import io
import os
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".js": "text/javascript",
        ".data": "application/octet-stream",
        ".sq": "application/octet-stream",
    }

    # The large files go out gzip-compressed to a browser that takes it, as a
    # web server would send them; made once per file version.
    compressed = {}

    def send_head(self):
        path = self.translate_path(self.path)
        accepts = "gzip" in self.headers.get("Accept-Encoding", "")
        if not accepts or not os.path.isfile(path) or not path.endswith((".wasm", ".js", ".data", ".html", ".css")):
            return super().send_head()
        stat = os.stat(path)
        key = (path, stat.st_mtime_ns, stat.st_size)
        body = self.compressed.get(path, (None, None))
        if body[0] != key:
            with open(path, "rb") as f:
                body = (key, gzip.compress(f.read(), 6))
            self.compressed[path] = body
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body[1])))
        self.end_headers()
        return io.BytesIO(body[1])

    def end_headers(self):
        # A rebuilt game is picked up on the next reload.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def log_message(self, format, *args):
        if os.environ.get("WEB_SERVE_QUIET"):
            return
        super().log_message(format, *args)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--port", type=int, default=int(os.environ.get("WEB_PORT", "8631")))
    parser.add_argument("--dir", default="build/web")
    args = parser.parse_args()
    if not os.path.isfile(os.path.join(args.dir, "index.html")):
        print(f"serve: no page in {args.dir} (run make web first)", file=sys.stderr)
        return 1
    handler = functools.partial(Handler, directory=args.dir)
    http.server.ThreadingHTTPServer.allow_reuse_address = True
    with http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler) as server:
        print(f"serving http://127.0.0.1:{server.server_address[1]}/", flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
