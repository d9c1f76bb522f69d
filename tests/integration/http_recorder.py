#!/usr/bin/env python3
"""A stand-in for a web service that a notifyCommand posts to: answers every request with
200 and keeps it, as received, in DIR/N.request (N counting from 1):

    METHOD PATH
    Name: value        (each header, in the order sent)

    BODY               (its bytes, unchanged)

Usage: http_recorder.py DIR. Listens on a free port of 127.0.0.1 and prints
"recorder listening on 127.0.0.1:PORT" first."""
import http.server
import os
import sys
import threading


class Recorder(http.server.BaseHTTPRequestHandler):
    count = 0
    lock = threading.Lock()

    def record(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        head = f"{self.command} {self.path}\n" + "".join(f"{name}: {value}\n" for name, value in self.headers.items())
        with Recorder.lock:
            Recorder.count += 1
            path = os.path.join(sys.argv[1], f"{Recorder.count}.request")
        with open(path + ".part", "wb") as file:
            file.write(head.encode("latin-1") + b"\n" + body)
        os.replace(path + ".part", path)  # a reader never sees half a request
        self.send_response(200)
        self.send_header("Content-Length", "0")
        self.end_headers()

    do_POST = do_PUT = do_GET = record

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Recorder)
print(f"recorder listening on 127.0.0.1:{server.server_address[1]}", flush=True)
server.serve_forever()
