#!/usr/bin/env python3
"""An mbox read by Python's own mail package, for the benchmark's side-by-side figure.

Usage: mail_read_python.py MBOX

Parses every message and decodes what tarvolo-results reads of it: each text part
from its transfer encoding and charset, and each application/octet-stream
attachment from its transfer encoding. Prints the number of parts decoded.
"""
import mailbox
import sys


def main():
    parts = 0
    for message in mailbox.mbox(sys.argv[1]):
        for part in message.walk():
            kind = part.get_content_type()
            if part.is_multipart() or not (kind.startswith("text/") or kind == "application/octet-stream"):
                continue
            payload = part.get_payload(decode=True) or b""
            if kind.startswith("text/"):
                try:
                    payload.decode(part.get_content_charset() or "utf-8", "replace")
                except LookupError:  # a charset Python does not know
                    payload.decode("latin-1")
            parts += 1
    print(parts)


if __name__ == "__main__":
    main()
