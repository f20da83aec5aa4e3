"""An RFC 3161 time-stamp authority on the loopback for the signing tests: each POSTed request
is answered by `openssl ts -reply` with the configuration given (the throwaway CA's TSA
certificate and key). Prints the port it listens on, then serves until it is ended.
Usage: tsa-server.py TS_CONFIG"""
import http.server
import subprocess
import sys


class TimeStamp(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        request = self.rfile.read(int(self.headers['Content-Length']))
        reply = subprocess.run(['openssl', 'ts', '-reply', '-config', sys.argv[1], '-queryfile',
                                '/dev/stdin', '-out', '/dev/stdout'],
                               input=request, capture_output=True, check=True).stdout
        self.send_response(200)
        self.send_header('Content-Type', 'application/timestamp-reply')
        self.send_header('Content-Length', str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *arguments):
        pass


server = http.server.HTTPServer(('127.0.0.1', 0), TimeStamp)
print(server.server_port, flush=True)
server.serve_forever()
