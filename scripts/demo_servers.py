"""The demo site: an HTTP server and an FTP server on free loopback ports,
both serving one folder, run as the current user. Prints "HTTP_PORT FTP_PORT"
once both listen, then serves until it is stopped."""
import functools
import http.server
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def main():
    folder, user, password = sys.argv[1], sys.argv[2], sys.argv[3]
    http_server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(QuietHandler, directory=folder))
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, folder, perm="elradfmwMT")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.banner = "Tavrisk demo site"
    ftp_server = FTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=http_server.serve_forever, daemon=True).start()
    print(http_server.server_address[1], ftp_server.address[1], flush=True)
    ftp_server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    main()
