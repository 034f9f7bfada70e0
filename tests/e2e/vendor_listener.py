"""A tiny stand-in for the vendor's web host on 127.0.0.1 port 80, for the notification tests.

mode "answer" reads each request head and answers 200 with no body; mode "silent" accepts
connections, reads what arrives and never answers. Every request head that arrives is kept with
the time it arrived. Runs on its own threads, bounded by `lifetime`, and stops when closed.
"""

import socket
import threading
import time


class Request:
    def __init__(self, head, arrived):
        self.head = head
        self.arrived = arrived
        lines = head.decode("latin-1").split("\r\n")
        parts = lines[0].split(" ")
        self.method = parts[0]
        self.target = parts[1] if len(parts) > 1 else ""
        self.version = parts[2] if len(parts) > 2 else ""
        self.headers = {}
        for line in lines[1:]:
            if ":" in line:
                name, value = line.split(":", 1)
                self.headers[name.strip().lower()] = value.strip()

    def __repr__(self):
        return "Request(%r)" % self.head


class VendorListener:
    def __init__(self, mode="answer", host="127.0.0.1", port=80, lifetime=170.0):
        assert mode in ("answer", "silent")
        self.mode = mode
        self.requests = []
        self.connections = 0
        self._lock = threading.Lock()
        self._open = []
        self._closed = threading.Event()
        self._deadline = time.monotonic() + lifetime
        self._server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._server.bind((host, port))
        self._server.listen(16)
        self._server.settimeout(0.2)
        self._thread = threading.Thread(target=self._accept_loop, daemon=True)
        self._thread.start()

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()
        return False

    def close(self):
        self._closed.set()
        self._thread.join(timeout=5)
        self._server.close()
        with self._lock:
            for connection in self._open:
                try:
                    connection.close()
                except OSError:
                    pass
            self._open = []

    def _running(self):
        return not self._closed.is_set() and time.monotonic() < self._deadline

    def _accept_loop(self):
        while self._running():
            try:
                connection, _ = self._server.accept()
            except socket.timeout:
                continue
            except OSError:
                break
            with self._lock:
                self.connections += 1
                self._open.append(connection)
            threading.Thread(target=self._serve, args=(connection,), daemon=True).start()

    def _serve(self, connection):
        connection.settimeout(0.2)
        data = b""
        while self._running():
            try:
                chunk = connection.recv(4096)
            except socket.timeout:
                continue
            except OSError:
                return
            if not chunk:
                return
            data += chunk
            while b"\r\n\r\n" in data:
                head, data = data.split(b"\r\n\r\n", 1)
                with self._lock:
                    self.requests.append(Request(head, time.monotonic()))
                if self.mode == "answer":
                    try:
                        connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n")
                    except OSError:
                        return

    def received(self):
        with self._lock:
            return list(self.requests)

    def wait_for(self, predicate, what, timeout=20.0):
        """The first request for which `predicate` holds, waiting for it up to `timeout`."""
        deadline = time.monotonic() + timeout
        while True:
            for request in self.received():
                if predicate(request):
                    return request
            if time.monotonic() > deadline:
                raise AssertionError("no %s arrived; received: %r" % (what, self.received()))
            time.sleep(0.05)
