"""Writes the release zip so that it depends on the files' bytes alone.

usage: dist_zip.py ZIP FOLDER EPOCH NAME...

The entries come in the order given (a name ending in "/" is a folder), each
with the time EPOCH (seconds, read as UTC), MS-DOS attributes (archive for a
file, directory for a folder) and the same compression: nothing of the build
machine's clock, time zone, umask, owner or file order reaches the zip.
"""

import os
import sys
import time
import zipfile

FILE_ATTRIBUTE_DIRECTORY = 0x10
FILE_ATTRIBUTE_ARCHIVE = 0x20


def main(zip_path, folder, epoch, names):
    # The zip format holds local times from 1980 on, in two-second steps.
    stamp = time.gmtime(max(int(epoch), 315532800))
    date_time = stamp[:5] + (stamp.tm_sec // 2 * 2,)
    partial = zip_path + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for name in names:
            info = zipfile.ZipInfo(name, date_time)
            info.create_system = 0  # MS-DOS: the attributes below are Windows'
            if name.endswith("/"):
                info.external_attr = FILE_ATTRIBUTE_DIRECTORY
                archive.writestr(info, b"")
                continue
            info.external_attr = FILE_ATTRIBUTE_ARCHIVE
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(folder, name), "rb") as source:
                archive.writestr(info, source.read(), compresslevel=9)
    os.replace(partial, zip_path)


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
