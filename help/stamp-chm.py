#!/usr/bin/env python3
"""Gives a compiled help file the same time stamps on every build of one commit.

chmcmd writes the time of compiling (milliseconds since midnight) into the file's header and
into its #SYSTEM file, both stored uncompressed. This sets both to the given moment, so that
one commit always builds the same bytes.

Usage: stamp-chm.py FILE.chm SECONDS_SINCE_1970
"""
import struct
import sys


def stamp(data: bytearray, moment: int) -> None:
    value = (moment % 86400) * 1000
    if data[:4] != b'ITSF':
        raise SystemExit('not a compiled help file')
    struct.pack_into('<I', data, 0x10, value)
    # The directory (header section 1) lists #SYSTEM with its offset in content section 0.
    directory = struct.unpack_from('<Q', data, 0x48)[0]
    content = struct.unpack_from('<Q', data, 0x58)[0]
    name = b'\x08/#SYSTEM'
    at = data.find(name, directory)
    if at < 0:
        raise SystemExit('no #SYSTEM in the directory')
    at += len(name)
    numbers = []
    for _ in range(3):  # section, offset, length as encoded integers
        number = 0
        while True:
            byte = data[at]
            at += 1
            number = (number << 7) | (byte & 0x7F)
            if byte < 0x80:
                break
        numbers.append(number)
    section, offset, length = numbers
    if section != 0:
        raise SystemExit('#SYSTEM is compressed')
    start = content + offset
    entry = start + 4  # after the version
    while entry < start + length:
        code, size = struct.unpack_from('<HH', data, entry)
        if code == 10 and size >= 4:  # the time stamp
            struct.pack_into('<I', data, entry + 4, value)
            return
        entry += 4 + size
    raise SystemExit('no time stamp in #SYSTEM')


def main() -> None:
    path, moment = sys.argv[1], int(sys.argv[2])
    with open(path, 'rb') as file:
        data = bytearray(file.read())
    stamp(data, moment)
    with open(path, 'wb') as file:
        file.write(data)


if __name__ == '__main__':
    main()
