#!/usr/bin/env python3
"""Serves the browser build (build/web) on 127.0.0.1 for a player to open."""
import argparse
import functools
import http.server
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
