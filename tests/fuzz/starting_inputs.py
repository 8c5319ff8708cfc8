#!/usr/bin/env python3
"""Starting inputs and a dictionary for the fuzz targets, made from the project's own samples.

Usage: starting_inputs.py INPUT_FOLDER DICTIONARY

INPUT_FOLDER gets one folder per target: report files as the program appends them,
mails and an mbox as scripts/mail_corpus.py writes them (quoted-printable, base64,
an attached report file), web-mail HTML, Japanese charsets; the decoded report text
for the entry finder; the report text with its two times for the program's own
report code. DICTIONARY gets the report's labels (in UTF-8, Shift_JIS and
ISO-2022-JP), its entry header and mail line, MIME header names, boundaries,
charset names and escape sequences.
"""
import io
import pathlib
import random
import struct
import sys
from email.message import EmailMessage
from email.mime.multipart import MIMEMultipart
from email.mime.text import MIMEText

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "scripts"))
import mail_corpus  # noqa: E402  (the benchmark's own mail writer)

REPORT = mail_corpus.report(7, random.Random(1))


def entry_file(*reports):
    """Entries as the program appends them: Shift_JIS, CR CR LF in the text."""
    text = ""
    for report in reports:
        text += "\r\n" + mail_corpus.HEADER_LINE + "\r\n\r\n" + report.replace("\r\n", "\r\r\n")
    return text.encode("cp932")


def flattened(mail, unixfrom=False):
    buffer = io.BytesIO()
    import email.generator
    import email.policy
    email.generator.BytesGenerator(buffer, mangle_from_=True, policy=email.policy.SMTP.clone(
        linesep="\n")).flatten(mail, unixfrom=unixfrom)
    return buffer.getvalue()


def mails():
    plain = mail_corpus.message("Tarvolo")
    plain.set_content(REPORT + "\nFrom here on, thanks.\n", cte="quoted-printable")
    encoded = mail_corpus.message("Tarvolo")
    encoded.set_content(REPORT, cte="base64")
    attached = mail_corpus.message("Tarvolo")
    attached.set_content("結果を添付します。")
    attached.add_attachment(entry_file(REPORT), maintype="application",
                            subtype="octet-stream", filename="Tarvolo.txt")
    html = MIMEMultipart("alternative")
    html["From"], html["To"], html["Subject"] = "web@example.jp", mail_corpus.MAKER, "Tarvolo"
    html.attach(MIMEText("<html><body><p>" + REPORT.replace("\r\n", "<br>") +
                         "&nbsp;</p><script>x</script></body></html>", "html", "utf-8"))
    jis = EmailMessage()
    jis["From"], jis["To"], jis["Subject"] = "jis@example.jp", mail_corpus.MAKER, "Tarvolo"
    jis.set_content(REPORT.replace("Pentium III", "Pentium"), charset="iso-2022-jp")
    forwarded = mail_corpus.message("Fwd: Tarvolo")
    forwarded.set_content("転送します。")
    forwarded.add_attachment(plain)
    return {"plain.eml": plain, "base64.eml": encoded, "attached.eml": attached,
            "html.eml": html, "iso-2022-jp.eml": jis, "forwarded.eml": forwarded}


def main():
    starting, dictionary = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    folders = {name: starting / name for name in
               ("received_file_fuzz", "entries_fuzz", "decoders_fuzz", "report_fuzz")}
    for folder in folders.values():
        folder.mkdir(parents=True, exist_ok=True)

    received = folders["received_file_fuzz"]
    (received / "report-file.txt").write_bytes(entry_file(REPORT, REPORT.replace("7", "8")))
    mbox = b""
    for name, mail in mails().items():
        (received / name).write_bytes(flattened(mail))
        mbox += flattened(mail, unixfrom=True) + b"\n"
    (received / "folder.mbox").write_bytes(mbox)

    # The first byte: 1 for a text from a broken mail.
    entries = folders["entries_fuzz"]
    (entries / "report").write_bytes(b"\0" + REPORT.encode())
    (entries / "reply").write_bytes(
        b"\1" + ("Taro wrote:\n> " + REPORT.replace("\n", "\n> ") + "\n-- \nTaro\n").encode())

    # The first byte picks the declared charset: an index of decoders_fuzz.cpp's kCharsets.
    decoders = folders["decoders_fuzz"]
    for index, codec in ((1, "utf-8"), (3, "iso2022_jp"), (9, "cp932"), (10, "euc_jp"),
                         (12, "utf-7"), (13, "utf-16"), (0, "cp932")):
        text = REPORT.replace("Pentium III", "Pentium")
        (decoders / f"{codec}-{index}").write_bytes(bytes([index]) + text.encode(codec))
    (decoders / "html").write_bytes(
        b"\1<p>" + REPORT.replace("\r\n", "<br>\n").encode() + b"&nbsp;&amp;</p><pre> a\tb</pre>")

    report = folders["report_fuzz"]
    for name, times in (("measured", (0.987, 80.123)), ("unmeasured", (0.0, 0.0)),
                        ("one-limit", (1.5, 0.0))):
        (report / name).write_bytes(struct.pack("<ff", *times) + REPORT.encode())

    words = [mail_corpus.HEADER_LINE, "To " + mail_corpus.MAKER, "：", "-- "]
    for label, _ in mail_corpus.LABELS:
        words += [label, label + "："]
    encoded = []
    for word in words:
        encoded.append(word.encode())
        for codec in ("cp932", "iso2022_jp"):
            try:
                encoded.append(word.encode(codec))
            except UnicodeEncodeError:
                pass
    for word in ("From ", ">From ", "From: ", "To: ", "Subject: ", "Date: ", "Message-ID: ",
                 "MIME-Version: 1.0", "Content-Type: ", "Content-Transfer-Encoding: ",
                 "Content-Disposition: attachment; filename=", "multipart/mixed",
                 "multipart/alternative", "message/rfc822", "text/plain", "text/html",
                 "application/octet-stream", "; boundary=\"b\"", "\n--b\n", "\n--b--\n",
                 "; charset=", "utf-8", "iso-2022-jp", "shift_jis", "euc-jp", "utf-7", "utf-16",
                 "base64", "quoted-printable", "8bit", "7bit", "format=flowed", "DelSp=yes",
                 "=?ISO-2022-JP?B?", "=?UTF-8?Q?", "?=", "=\n", "=E3=81=82",
                 "\x1b$B", "\x1b$@", "\x1b(B", "\x1b(J", "\x1b(I", "\x0e", "\x0f", "\xef\xbb\xbf",
                 "<br>", "<p>", "</p>", "<pre>", "&nbsp;", "&#65533;", "<script>", "\r\r\n",
                 "0.000", "0.987", "80.123"):
        encoded.append(word.encode("latin-1"))
    lines = []
    for word in dict.fromkeys(encoded):
        escaped = "".join(chr(b) if 0x20 <= b < 0x7F and b not in b'"\\' else f"\\x{b:02X}"
                          for b in word)
        lines.append(f'"{escaped}"')
    dictionary.write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
