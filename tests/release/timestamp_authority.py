#!/usr/bin/env python3
"""A timestamp authority on loopback for the release tests: answers each RFC 3161 request posted to it with
`openssl ts -reply` under the TSA configuration CONFIG. Listens on 127.0.0.1 at a port of the system's choosing,
which it writes to PORTFILE once it listens; serves until it is ended.

Usage: timestamp_authority.py CONFIG PORTFILE
"""
import http.server
import os
import subprocess
import sys
import tempfile


class TimestampHandler(http.server.BaseHTTPRequestHandler):
    config = None

    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        with tempfile.TemporaryDirectory() as work:
            query_file, reply_file = os.path.join(work, "query.tsq"), os.path.join(work, "reply.tsr")
            with open(query_file, "wb") as out:
                out.write(query)
            done = subprocess.run(["openssl", "ts", "-reply", "-config", self.config, "-queryfile", query_file,
                                   "-out", reply_file], capture_output=True)
            if done.returncode != 0:
                self.send_error(500, done.stderr.decode(errors="replace").strip()[:200])
                return
            with open(reply_file, "rb") as reply_in:
                reply = reply_in.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *args):
        pass


def main():
    config, port_file = sys.argv[1:3]
    TimestampHandler.config = config
    server = http.server.HTTPServer(("127.0.0.1", 0), TimestampHandler)
    with open(port_file + ".part", "w") as out:
        out.write(f"{server.server_port}\n")
    os.replace(port_file + ".part", port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
