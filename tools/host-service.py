#!/usr/bin/env python3
"""Runs the test suite's own Linux scripts on behalf of the tests under Wine that need them
(the drops through the X11 protocol, labelled wine-only).

A test under Wine cannot start a Linux program. It writes a request into the folder
C:\\tavimbo-host of the prefix: a file NAME.req holding the command's arguments, one per line
(UTF-8). This service runs the command and answers with NAME.out: the exit code on the first
line, then what the command printed. Only scripts under tests/tools are run.
"""
import os
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
# The suite's scripts use modules that tools/install-deps installs as Debian packages, so they
# run under Debian's own interpreter even where another python3 comes first on the PATH.
SYSTEM_PYTHON = '/usr/bin/python3'


def command(argv):
    """The command to run for a request, or None when it is not allowed."""
    # Python scripts of the test suite itself, named by their path in the checkout.
    if len(argv) > 1 and argv[0] == 'python3':
        script = (ROOT / argv[1]).resolve()
        if (ROOT / 'tests' / 'tools') in script.parents:
            python = SYSTEM_PYTHON if os.path.exists(SYSTEM_PYTHON) else 'python3'
            return [python, str(script)] + argv[2:]
    return None


def serve(folder: Path):
    folder.mkdir(parents=True, exist_ok=True)
    while True:
        for request in sorted(folder.glob('*.req')):
            argv = command(request.read_text(encoding='utf-8').splitlines())
            request.unlink()
            if argv is not None:
                try:
                    done = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                          timeout=60, cwd=ROOT)
                    answer = f'{done.returncode}\n'.encode() + done.stdout
                except (OSError, subprocess.TimeoutExpired) as error:
                    answer = f'127\n{error}\n'.encode()
            else:
                answer = b'126\nnot an allowed command\n'
            partial = request.with_suffix('.part')
            partial.write_bytes(answer)
            partial.rename(request.with_suffix('.out'))
        time.sleep(0.02)


if __name__ == '__main__':
    serve(Path(sys.argv[1]))
